// Editing the job list in the main window: remove, clear, move up and down, with the companion
// entries, the task numbers, the controls and the preview; and a run after removing and moving
// that converts each remaining job with its own settings.
#include <QAction>
#include <QFileInfo>
#include <QPushButton>
#include <QSlider>
#include <QSocketNotifier>
#include <QTest>
#include <QToolButton>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "app_harness.h"
#include "job_rows.h"
#include "jobs/job_list_view.h"
#include "media/encoder_backend.h"
#include "media/player.h"
#include "media/probe.h"
#include "media/transcode.h"
#include "preview/screen_panel.h"
#include "run_harness.h"
#include "support/media_fixtures.h"

using velmora::app::ControlGroup;
using velmora::app::GroupState;
using velmora::app::TForm1;
using velmora::jobs::JobColumn;
using velmora::testing::AppHarness;

namespace {

constexpr int kWaitMs = 10000;
constexpr int kRunTimeoutMs = 180000;

struct Clips {
    velmora::testing::TempDir dir;
    QString a = QString::fromStdString(dir.file("a.mp4"));
    QString b = QString::fromStdString(dir.file("b.mp4"));
    QString c = QString::fromStdString(dir.file("c.mp4"));
};

std::unique_ptr<Clips> clips;

// A window on fakes with its notifications pumped by the event loop.
struct Window {
    explicit Window(velmora::media::EngineBackend backend = {})
        : harness({}, std::move(backend)),
          form(harness.open()),
          wake(harness.queue.wake_fd(), QSocketNotifier::Read) {
        QObject::connect(&wake, &QSocketNotifier::activated, [this] { harness.queue.pump(); });
    }
    ~Window() { harness.form.reset(); }

    // Appends jobs as adding does: the rows with their companion entries, the panel hidden and
    // the editing controls on.
    void add_jobs(const QStringList& inputs) {
        for (const QString& input : inputs) {
            velmora::testing::append_job(form, input, QFileInfo(input).baseName() + ".avi",
                                         form.current_preset_code(), form.current_option_indices());
        }
        form.set_empty_list_panel_visible(false);
        for (ControlGroup group : {ControlGroup::Edit, ControlGroup::Clear, ControlGroup::Start}) {
            form.set_group_enabled(group, GroupState::Enabled);
        }
    }
    QStringList captions() const {
        QStringList texts;
        for (int row = 0; row < form.lvFiles()->row_count(); ++row) {
            texts << form.lvFiles()->caption(row);
        }
        return texts;
    }
    QStringList task_numbers() const {
        QStringList texts;
        for (int row = 0; row < form.lvFiles()->row_count(); ++row) {
            texts << form.lvFiles()->cell(row, JobColumn::TaskNumber);
        }
        return texts;
    }
    // The input of each companion entry in use, in entry order.
    QStringList companion_inputs() const {
        QStringList texts;
        const velmora::jobs::CompanionTable& table = form.companion_table();
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (table.at(i).SlotState == velmora::jobs::kSlotFull) {
                texts << QString::fromStdString(table.at(i).IO1.FileName);
            }
        }
        return texts;
    }
    bool on(ControlGroup group) const { return form.group_state(group) == GroupState::Enabled; }
    bool editing_on() const {
        return on(ControlGroup::Edit) && on(ControlGroup::Clear) && on(ControlGroup::Start);
    }
    bool editing_off() const {
        return !on(ControlGroup::Edit) && !on(ControlGroup::Clear) && !on(ControlGroup::Start);
    }

    AppHarness harness;
    TForm1& form;
    QSocketNotifier wake;
};

}  // namespace

class Form1EditingTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void cleanupTestCase();
    void remove_without_selection_shows_the_hint();
    void removing_the_middle_of_three_renumbers_and_opens_the_first();
    void removing_the_only_row_empties_the_pane_and_the_controls();
    void moving_exchanges_rows_entries_and_task_numbers();
    void removing_after_moves_removes_that_jobs_number();
    void moving_is_held_while_the_encoder_runs();
    void clearing_asks_nothing_and_brings_back_adding();
    void run_after_removing_and_moving_converts_each_job_its_own_way();
};

void Form1EditingTest::initTestCase() {
    clips = std::make_unique<Clips>();
    for (const QString& clip : {clips->a, clips->b, clips->c}) {
        QVERIFY(velmora::testing::make_av_clip(clip.toStdString(), 1.0, 160, 120));
    }
}

void Form1EditingTest::cleanupTestCase() {
    clips.reset();
}

void Form1EditingTest::remove_without_selection_shows_the_hint() {
    Window w;
    w.add_jobs({clips->a, clips->b});
    w.form.action("N13")->trigger();
    QCOMPARE(w.harness.boxes.shown, QStringList{"information|提示|请先选择您需要删除的项目！"});
    QCOMPARE(w.captions(), QStringList({clips->a, clips->b}));
    QVERIFY(w.editing_on());
}

void Form1EditingTest::removing_the_middle_of_three_renumbers_and_opens_the_first() {
    Window w;
    w.add_jobs({clips->a, clips->b, clips->c});
    w.form.lvFiles()->select_row(1);
    QCOMPARE(w.form.T_Movie_PLayer_FileName, clips->b);

    w.form.tool_button("bsSkinButton7")->click();
    QCOMPARE(w.captions(), QStringList({clips->a, clips->c}));
    QCOMPARE(w.task_numbers(), QStringList({"1", "2"}));
    QCOMPARE(w.companion_inputs(), QStringList({clips->a, clips->c}));
    QCOMPARE(w.form.companion_table().at(2).SlotState, std::string(velmora::jobs::kSlotFree));
    QCOMPARE(w.form.lvFiles()->selected_index(), 0);
    QCOMPARE(w.form.T_Movie_PLayer_FileName, clips->a);
    QVERIFY(w.form.FFPlayer().IsOpen() && w.form.FFPlayer().IsPaused());
    QVERIFY(w.editing_on());
    QVERIFY(!w.form.bsSkinPanel5()->isVisibleTo(&w.form));
    QVERIFY(w.harness.boxes.shown.isEmpty());
}

void Form1EditingTest::removing_the_only_row_empties_the_pane_and_the_controls() {
    Window w;
    w.add_jobs({clips->a});
    w.form.lvFiles()->select_row(0);
    w.form.bsSkinButton13Click();
    QTRY_VERIFY_WITH_TIMEOUT(w.form.bsSkinSlider1()->value() > 0, kWaitMs);

    w.form.action("N13")->trigger();
    QCOMPARE(w.form.lvFiles()->row_count(), 0);
    QCOMPARE(w.form.companion_table().used(), std::size_t{0});
    QVERIFY(!w.form.FFPlayer().IsOpen());
    QVERIFY(!w.form.Panel6()->showing_picture());
    QCOMPARE(w.form.bsSkinSlider1()->value(), 0);
    QVERIFY(w.form.bsSkinPanel5()->isVisibleTo(&w.form));
    QVERIFY(w.editing_off());
    QVERIFY(!w.form.action("N26")->isEnabled() && !w.form.action("N15")->isEnabled());
    // Moving stays possible and does nothing on an empty list.
    w.form.action("N111")->trigger();
    w.form.action("N2221")->trigger();
    QVERIFY(w.harness.boxes.shown.isEmpty());
}

void Form1EditingTest::moving_exchanges_rows_entries_and_task_numbers() {
    Window w;
    w.add_jobs({clips->a, clips->b, clips->c});
    // Up on the first row and down on the last do nothing.
    w.form.lvFiles()->select_row(0);
    w.form.bsSkinButton3Click();
    w.form.lvFiles()->select_row(2);
    w.form.bsSkinButton4Click();
    QCOMPARE(w.captions(), QStringList({clips->a, clips->b, clips->c}));
    QCOMPARE(w.form.lvFiles()->selected_index(), 2);

    w.form.lvFiles()->select_row(0);
    w.form.findChild<QPushButton*>("bsSkinButton4")->click();
    QCOMPARE(w.captions(), QStringList({clips->b, clips->a, clips->c}));
    QCOMPARE(w.task_numbers(), QStringList({"2", "1", "3"}));
    QCOMPARE(w.companion_inputs(), QStringList({clips->b, clips->a, clips->c}));
    QCOMPARE(w.form.lvFiles()->cell(1, JobColumn::OutputFile), QString("a.avi"));
    // The moved job stays selected and is the one previewed.
    QCOMPARE(w.form.lvFiles()->selected_index(), 1);
    QCOMPARE(w.form.T_Movie_PLayer_FileName, clips->a);

    w.form.action("N111")->trigger();
    QCOMPARE(w.captions(), QStringList({clips->a, clips->b, clips->c}));
    QCOMPARE(w.task_numbers(), QStringList({"1", "2", "3"}));
    QCOMPARE(w.companion_inputs(), QStringList({clips->a, clips->b, clips->c}));
    QCOMPARE(w.form.lvFiles()->selected_index(), 0);
}

void Form1EditingTest::removing_after_moves_removes_that_jobs_number() {
    Window w;
    w.add_jobs({clips->a, clips->b, clips->c});
    w.form.lvFiles()->select_row(0);
    w.form.bsSkinButton4Click();  // b a c, numbers 2 1 3
    w.form.bsSkinButton4Click();  // b c a, numbers 2 3 1
    QCOMPARE(w.task_numbers(), QStringList({"2", "3", "1"}));
    w.form.lvFiles()->select_row(0);
    w.form.btnRemoveClick();  // removes b, number 2
    QCOMPARE(w.captions(), QStringList({clips->c, clips->a}));
    QCOMPARE(w.task_numbers(), QStringList({"2", "1"}));
    QCOMPARE(w.companion_inputs(), QStringList({clips->c, clips->a}));
}

void Form1EditingTest::moving_is_held_while_the_encoder_runs() {
    // A task that converts until it is told to stop.
    std::atomic<int> started{0};
    velmora::media::EngineBackend backend;
    backend.transcode =
        [&](const velmora::media::TInputOptions&, const velmora::media::TOutputOptions&,
            const velmora::media::EngineEnvironment&, velmora::media::TranscodeControl& control,
            const velmora::media::TranscodeHooks&, int) {
            ++started;
            while (!control.stop_requested()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            velmora::media::TranscodeResult result;
            result.stopped = true;
            return result;
        };
    Window w(std::move(backend));
    std::string error;
    QVERIFY(w.harness.encoder.load_libraries(w.harness.folder().toStdString(), error));
    velmora::media::TInputOptions input;
    velmora::media::TOutputOptions output;
    const int task = w.harness.encoder.add_task(clips->a.toStdString(), input, error);
    QVERIFY2(task >= 0, error.c_str());
    QVERIFY2(w.harness.encoder.set_output_file(task, w.harness.folder().toStdString() + "/o.avi",
                                               output, error),
             error.c_str());
    w.add_jobs({clips->a, clips->b});
    w.form.lvFiles()->select_row(0);
    w.harness.encoder.start(1);
    QTRY_COMPARE_WITH_TIMEOUT(started.load(), 1, kWaitMs);

    w.form.bsSkinButton4Click();
    QCOMPARE(w.captions(), QStringList({clips->a, clips->b}));
    QCOMPARE(w.form.lvFiles()->selected_index(), 0);

    w.harness.encoder.stop_and_wait();
    QTRY_VERIFY_WITH_TIMEOUT(!w.harness.encoder.running(), kWaitMs);
    w.form.bsSkinButton4Click();
    QCOMPARE(w.captions(), QStringList({clips->b, clips->a}));
}

void Form1EditingTest::clearing_asks_nothing_and_brings_back_adding() {
    Window w;
    w.add_jobs({clips->a, clips->b, clips->c});
    w.form.lvFiles()->select_row(2);
    // As after a run: adding off, clearing on.
    w.form.set_group_enabled(ControlGroup::Add, GroupState::Disabled);

    w.form.tool_button("bsSkinButton8")->click();
    QVERIFY(w.harness.boxes.shown.isEmpty());
    QCOMPARE(w.form.lvFiles()->row_count(), 0);
    QCOMPARE(w.form.companion_table().used(), std::size_t{0});
    QVERIFY(w.form.companion_table().size() >= velmora::jobs::CompanionTable::kInitialEntries);
    QCOMPARE(w.harness.encoder.task_count(), 0);
    QVERIFY(w.on(ControlGroup::Add));
    for (const char* item : {"N3", "N2222", "N21"}) {
        QVERIFY2(w.form.action(item)->isEnabled(), item);
    }
    QVERIFY(w.editing_off());
    QVERIFY(w.form.bsSkinPanel5()->isVisibleTo(&w.form));
    QVERIFY(!w.form.FFPlayer().IsOpen());
    QCOMPARE(w.form.bsSkinSlider1()->value(), 0);
}

void Form1EditingTest::run_after_removing_and_moving_converts_each_job_its_own_way() {
    velmora::testing::EngineWindow w;
    TForm1& form = *w.form;
    // Three jobs, each with its own preset: AVI, MP4, FLAC.
    for (const auto& [clip, code] :
         {std::pair{clips->a, 100}, std::pair{clips->b, 101}, std::pair{clips->c, 210}}) {
        // With no job selected the preset choice writes into none of them.
        form.lvFiles()->clearSelection();
        velmora::testing::choose_preset(form, code);
        QCOMPARE(form.current_preset_code(), code);
        w.answers.file_answers << QStringList{clip};
        form.btnAddClick();
    }
    QCOMPARE(w.list().row_count(), 3);
    QCOMPARE(w.encoder.task_count(), 3);
    QCOMPARE(w.cell(1, JobColumn::OutputFile), QString("b.mp4"));

    // Remove the middle job, then move the last one to the top.
    w.list().select_row(1);
    form.tool_button("bsSkinButton7")->click();
    QCOMPARE(w.encoder.task_count(), 2);
    w.list().select_row(1);
    form.action("N111")->trigger();
    QCOMPARE(w.list().caption(0), clips->c);
    QCOMPARE(w.list().caption(1), clips->a);
    QCOMPARE(w.cell(0, JobColumn::TaskNumber), QString("2"));
    QCOMPARE(w.cell(0, JobColumn::PresetCode), QString("210"));
    QCOMPARE(w.cell(1, JobColumn::PresetCode), QString("100"));

    form.action("N15")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(form.group_state(ControlGroup::Clear) == GroupState::Enabled &&
                                 form.group_state(ControlGroup::Stop) == GroupState::Disabled,
                             kRunTimeoutMs);
    QVERIFY2(w.boxes.shown.isEmpty(), qPrintable(w.boxes.shown.join('\n')));
    QCOMPARE(w.cell(0, JobColumn::Progress), QString("100%"));
    QCOMPARE(w.cell(1, JobColumn::Progress), QString("100%"));
    const std::filesystem::path out = w.output_folder().toStdString();
    const velmora::media::ProbeResult flac = velmora::media::probe_file((out / "c.flac").string());
    QVERIFY2(flac.ok, flac.error_text.c_str());
    QVERIFY(QString::fromStdString(flac.info_text).contains("flac"));
    const velmora::media::ProbeResult avi = velmora::media::probe_file((out / "a.avi").string());
    QVERIFY2(avi.ok, avi.error_text.c_str());
    QVERIFY(QString::fromStdString(avi.info_text).contains("mpeg4"));
    QVERIFY(!std::filesystem::exists(out / "b.mp4"));
    QCOMPARE(std::distance(std::filesystem::directory_iterator(out),
                           std::filesystem::directory_iterator{}),
             2);
}

QTEST_MAIN(Form1EditingTest)
#include "form1_editing_test.moc"
