// Converting from the window on the real engine: the add commands, task building, start,
// pause, stop, progress, the run end with its after-done action, drops and closing during a
// run.
#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <filesystem>

#include "app/widgets/option_combo_box.h"
#include "app/widgets/picture_combo_box.h"
#include "jobs/open_file_filter.h"
#include "media/probe.h"
#include "run_harness.h"
#include "support/media_fixtures.h"

using velmora::app::ControlGroup;
using velmora::app::GroupState;
using velmora::jobs::JobColumn;
using velmora::testing::EngineWindow;

namespace {

constexpr int kRunTimeoutMs = 180000;

QString q(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// A folder of the test's own with the clips in it.
std::filesystem::path make_folder(EngineWindow& w, const std::string& name) {
    const auto folder = w.dir.path() / name;
    std::filesystem::create_directories(folder);
    return folder;
}

void write_text(const std::filesystem::path& path) {
    velmora::testing::write_file(path, "not a media file\n");
}

bool on(EngineWindow& w, ControlGroup group) {
    return w.form->group_state(group) == GroupState::Enabled;
}

int log_count(EngineWindow& w, const QString& text) {
    return static_cast<int>(w.form->log_text().count(text));
}

// Selects the entry of an option list that shows text.
void pick_option(EngineWindow& w, int list_number, const QString& text) {
    velmora::app::OptionComboBox* list = w.form->bsSkinComboBox(list_number);
    for (int i = 0; i < list->item_count(); ++i) {
        if (list->item_text(i) == text) {
            list->set_item_index(i);
            return;
        }
    }
    qFatal("no entry %s", qPrintable(text));
}

// Selects preset code (category + 1) * 100 + format.
void pick_preset(EngineWindow& w, int code) {
    w.form->bsSkinOfficeComboBox2()->set_item_index(code / 100 - 1);
    w.form->bsSkinOfficeComboBox1()->set_item_index(code % 100);
    QCOMPARE(w.form->current_preset_code(), code);
}

// Adds the files through "添加多个文件" (they become rows in reverse order).
void add_files(EngineWindow& w, const QStringList& files) {
    w.answers.file_answers << files;
    w.form->action("N2222")->trigger();
}

QToolButton* tool(EngineWindow& w, const char* name) {
    return w.form->tool_button(QString::fromLatin1(name));
}

void start(EngineWindow& w) {
    w.form->action("N15")->trigger();
}

bool run_ended(EngineWindow& w) {
    return on(w, ControlGroup::Clear) && !on(w, ControlGroup::Stop);
}

}  // namespace

class Form1RunTest : public QObject {
    Q_OBJECT
  private slots:
    void directory_of_video_audio_and_text_converts_with_two_tasks();
    void directory_without_media_shows_the_hint();
    void cancelled_dialogs_add_nothing();
    void several_files_become_rows_last_first_with_the_filter();
    void same_file_twice_gives_two_rows_and_two_outputs();
    void x264_presets_carry_the_default_x264_preset();
    void vanished_input_stops_the_build_with_an_error_box();
    void two_rows_into_one_file_are_refused_before_the_run();
    void progress_and_task_end_texts();
    void failed_task_shows_one_warning_with_the_program_title();
    void run_end_restores_groups_and_runs_the_chosen_action_data();
    void run_end_restores_groups_and_runs_the_chosen_action();
    void stopping_the_first_of_three_one_at_a_time_brings_no_run_end();
    void stopping_a_one_job_run_brings_the_run_end();
    void pause_then_stop_then_start_shows_pause();
    void dropped_files_and_folders_are_added_while_adding_is_on();
    void closing_with_two_tasks_converting_ends_both();
};

void Form1RunTest::directory_of_video_audio_and_text_converts_with_two_tasks() {
    EngineWindow w;
    const auto in = make_folder(w, "in");
    QVERIFY(velmora::testing::make_av_clip(in / "clip.mp4", 2.0));
    QVERIFY(velmora::testing::make_audio_clip(in / "tone.wav", 2.0));
    write_text(in / "notes.txt");
    std::filesystem::create_directories(in / "sub");
    QVERIFY(velmora::testing::make_av_clip(in / "sub" / "deeper.mp4", 1.0));

    pick_preset(w, 100);
    pick_option(w, 1, "176*144");
    w.set_thread_count(2);
    w.choose("自动打开输出文件夹");
    w.answers.folder_answers << q(in);
    w.form->action("N21")->trigger();

    QCOMPARE(w.list().row_count(), 2);
    QStringList inputs = {w.list().caption(0), w.list().caption(1)};
    inputs.sort();
    QCOMPARE(inputs, QStringList({q(in / "clip.mp4"), q(in / "tone.wav")}));
    QCOMPARE(w.answers.titles, QStringList{"选择目录"});
    QCOMPARE(log_count(w, "***File load error: "), 1);
    QCOMPARE(log_count(w, "***Can do convert."), 2);
    QVERIFY(w.boxes.shown.isEmpty());
    QCOMPARE(w.list().selected_index(), 1);
    QVERIFY(!w.form->bsSkinPanel5()->isVisible());
    QVERIFY(on(w, ControlGroup::Edit) && on(w, ControlGroup::Clear) && on(w, ControlGroup::Start));
    QCOMPARE(w.cell(0, JobColumn::TaskNumber), "1");
    QCOMPARE(w.cell(1, JobColumn::TaskNumber), "2");
    QCOMPARE(w.cell(0, JobColumn::PresetCode), "100");
    QCOMPARE(w.cell(0, JobColumn::FrameSize), "176*144");

    start(w);
    QVERIFY(!on(w, ControlGroup::Add) && !on(w, ControlGroup::Edit) &&
            !on(w, ControlGroup::Start) && !on(w, ControlGroup::Preset));
    QVERIFY(on(w, ControlGroup::Stop) && on(w, ControlGroup::Pause) &&
            !on(w, ControlGroup::Resume));
    QTRY_VERIFY_WITH_TIMEOUT(run_ended(w), kRunTimeoutMs);

    for (int row = 0; row < 2; ++row) {
        QCOMPARE(w.cell(row, JobColumn::Progress), "100%");
        QVERIFY(w.cell(row, JobColumn::ConvertedSize).endsWith("MB"));
        QCOMPARE(w.cell(row, JobColumn::CurrentTime).left(6), "00:00:");
    }
    QVERIFY2(w.boxes.shown.isEmpty(), qPrintable(w.boxes.shown.join('\n')));
    const std::filesystem::path out = w.output_folder().toStdString();
    const velmora::media::ProbeResult clip =
        velmora::media::probe_file((out / "clip.avi").string());
    QVERIFY2(clip.ok, clip.error_text.c_str());
    const QString clip_info = QString::fromStdString(clip.info_text);
    QVERIFY2(clip_info.contains("mpeg4") && clip_info.contains("176x144") &&
                 clip_info.contains("mp3") && clip_info.contains("44100 Hz"),
             qPrintable(clip_info));
    const velmora::media::ProbeResult tone =
        velmora::media::probe_file((out / "tone.avi").string());
    QVERIFY2(tone.ok, tone.error_text.c_str());
    QVERIFY(QString::fromStdString(tone.info_text).contains("mp3"));
    QVERIFY(!std::filesystem::exists(out / "deeper.avi"));

    // The after-done action ran once, on the folder of the box.
    QTest::qWait(300);
    QCOMPARE(w.desktop.opened, QList<QUrl>{QUrl::fromLocalFile(w.output_folder())});
    // After the run, adding stays off until the list is cleared.
    QVERIFY(!on(w, ControlGroup::Add) && !on(w, ControlGroup::Start));
}

void Form1RunTest::directory_without_media_shows_the_hint() {
    EngineWindow w;
    const auto in = make_folder(w, "texts");
    write_text(in / "a.txt");
    write_text(in / "b.txt");
    w.answers.folder_answers << q(in);
    w.form->Button12Click();
    QCOMPARE(w.list().row_count(), 0);
    QCOMPARE(w.boxes.shown,
             QStringList{"information|提示|在该目录没有发现可以用的视频或音频文件！"});
    QCOMPARE(log_count(w, "***File load error: "), 2);
    QVERIFY(!on(w, ControlGroup::Start));
}

void Form1RunTest::cancelled_dialogs_add_nothing() {
    EngineWindow w;
    const auto in = make_folder(w, "in");
    QVERIFY(velmora::testing::make_av_clip(in / "clip.mp4"));
    w.answers.folder_answers << q(in) << std::nullopt;
    w.form->Button12Click();
    QCOMPARE(w.list().row_count(), 1);
    w.form->Button12Click();  // cancelled after a directory was chosen before
    w.form->btnAddClick();    // no answers left: cancelled
    w.form->Button8Click();
    w.answers.file_answers << QStringList{q(in / "missing.mp4")};
    w.form->btnAddClick();
    QCOMPARE(w.list().row_count(), 1);
    QVERIFY(w.boxes.shown.isEmpty());
}

void Form1RunTest::several_files_become_rows_last_first_with_the_filter() {
    EngineWindow w;
    const auto in = make_folder(w, "in");
    for (const char* name : {"a.mp4", "b.mp4", "c.mp4"}) {
        QVERIFY(velmora::testing::make_av_clip(in / name, 0.5));
    }
    write_text(in / "d.mp4");
    add_files(w, {q(in / "a.mp4"), q(in / "d.mp4"), q(in / "b.mp4"), q(in / "c.mp4")});
    QCOMPARE(w.list().row_count(), 3);
    QCOMPARE(w.list().caption(0), q(in / "c.mp4"));
    QCOMPARE(w.list().caption(1), q(in / "b.mp4"));
    QCOMPARE(w.list().caption(2), q(in / "a.mp4"));
    QCOMPARE(w.list().selected_index(), 2);
    QCOMPARE(log_count(w, "***File load error: "), 1);
    QCOMPARE(w.answers.titles, QStringList{"打开文件"});
    QCOMPARE(w.answers.filters.first(), velmora::jobs::qt_name_filters());
    QCOMPARE(w.answers.filters.first().size(), 42);
    QVERIFY(w.cell(0, JobColumn::Duration).startsWith("00:00:0"));
    QVERIFY(w.cell(0, JobColumn::FileSize).endsWith("MB"));
    QCOMPARE(w.cell(0, JobColumn::OutputFile), "c.avi");
    QCOMPARE(w.form->companion_table().used(), 3u);
    QCOMPARE(w.encoder.task_count(), 3);

    // A file that vanished before its turn ends the command: nothing more, no selection.
    EngineWindow v;
    add_files(v, {q(in / "a.mp4"), q(in / "gone.mp4"), q(in / "b.mp4")});
    QCOMPARE(v.list().row_count(), 1);
    QCOMPARE(v.list().caption(0), q(in / "b.mp4"));
    QCOMPARE(v.list().selected_index(), -1);
    QCOMPARE(v.form->T_Movie_PLayer_FileName, q(in / "b.mp4"));  // the preview's file
}

void Form1RunTest::same_file_twice_gives_two_rows_and_two_outputs() {
    EngineWindow w;
    const auto in = make_folder(w, "in");
    QVERIFY(velmora::testing::make_av_clip(in / "clip.mp4", 1.0));
    for (int i = 0; i < 2; ++i) {
        w.answers.file_answers << QStringList{q(in / "clip.mp4")};
        w.form->action("N3")->trigger();
    }
    QCOMPARE(w.list().row_count(), 2);
    QCOMPARE(w.list().selected_index(), 1);
    QVERIFY(w.cell(0, JobColumn::OutputFile) != w.cell(1, JobColumn::OutputFile));
    start(w);
    QTRY_VERIFY_WITH_TIMEOUT(run_ended(w), kRunTimeoutMs);
    const QString out = w.output_folder();
    QVERIFY(QFileInfo(out + "/" + w.cell(0, JobColumn::OutputFile)).size() > 0);
    QVERIFY(QFileInfo(out + "/" + w.cell(1, JobColumn::OutputFile)).size() > 0);
}

void Form1RunTest::x264_presets_carry_the_default_x264_preset() {
    EngineWindow w;
    const auto in = make_folder(w, "in");
    QVERIFY(velmora::testing::make_av_clip(in / "clip.mp4", 0.5));
    pick_preset(w, 302);
    add_files(w, {q(in / "clip.mp4")});
    QCOMPARE(w.list().row_count(), 1);
    QCOMPARE(w.form->companion_table().at(0).OO1.VideoCodec, "libx264");
    QCOMPARE(w.form->companion_table().at(0).OO1.VideoPreset, "libx264-default");
    QCOMPARE(w.cell(0, JobColumn::VideoCodec), "libx264");

    EngineWindow m;
    pick_preset(m, 100);
    add_files(m, {q(in / "clip.mp4")});
    QCOMPARE(m.form->companion_table().at(0).OO1.VideoCodec, "mpeg4");
    QCOMPARE(m.form->companion_table().at(0).OO1.VideoPreset, "");
    QCOMPARE(m.form->companion_table().at(0).OO1.VideoTag, "XVID");
}

void Form1RunTest::vanished_input_stops_the_build_with_an_error_box() {
    EngineWindow w;
    const auto in = make_folder(w, "in");
    QVERIFY(velmora::testing::make_av_clip(in / "clip.mp4", 0.5));
    add_files(w, {q(in / "clip.mp4")});
    QCOMPARE(w.list().row_count(), 1);
    std::filesystem::remove(in / "clip.mp4");
    start(w);
    QCOMPARE(w.boxes.shown.size(), 1);
    QVERIFY2(w.boxes.shown.first().startsWith("error|Velmora视频格式转换器|第1行"),
             qPrintable(w.boxes.shown.first()));
    QVERIFY(!w.encoder.running());
    QVERIFY(!on(w, ControlGroup::Stop) && on(w, ControlGroup::Start) && on(w, ControlGroup::Add));
    QVERIFY(on(w, ControlGroup::Preset));
}

void Form1RunTest::two_rows_into_one_file_are_refused_before_the_run() {
    EngineWindow w;
    const auto in = make_folder(w, "in");
    QVERIFY(velmora::testing::make_av_clip(in / "a.mp4", 0.5));
    QVERIFY(velmora::testing::make_av_clip(in / "b.mp4", 0.5));
    add_files(w, {q(in / "a.mp4"), q(in / "b.mp4")});
    QCOMPARE(w.list().row_count(), 2);
    w.list().set_cell(1, JobColumn::OutputFile, w.cell(0, JobColumn::OutputFile));
    w.choose("系统空闲时进行");
    start(w);
    // The priority is taken from the dialog first, even when the build then fails.
    QCOMPARE(w.encoder.thread_priority(), velmora::media::TThreadPriority::tpIdle);
    QCOMPARE(w.boxes.shown.size(), 1);
    QVERIFY2(w.boxes.shown.first().startsWith("error|Velmora视频格式转换器|第2行"),
             qPrintable(w.boxes.shown.first()));
    QVERIFY(!w.encoder.running());
    QVERIFY(!on(w, ControlGroup::Stop) && on(w, ControlGroup::Start));
    QVERIFY(!std::filesystem::exists(w.output_folder().toStdString() + "/" +
                                     w.cell(0, JobColumn::OutputFile).toStdString()));
}

void Form1RunTest::progress_and_task_end_texts() {
    EngineWindow w;
    const auto in = make_folder(w, "in");
    QVERIFY(velmora::testing::make_av_clip(in / "clip.mp4", 0.5));
    add_files(w, {q(in / "clip.mp4")});
    QCOMPARE(w.list().row_count(), 1);

    velmora::media::TProgressInfo info;
    info.TaskIndex = 0;
    info.FPS = 42;
    info.CurrentDuration = 150'000'000;
    info.TotalDuration = 600'000'000;
    info.CurrentSize = 3 * 1024 * 1024 + 512 * 1024;
    w.form->FFVCLProgress(info);
    QCOMPARE(w.cell(0, JobColumn::Progress), "25%");
    QCOMPARE(w.cell(0, JobColumn::CurrentTime), "00:02:30");
    QCOMPARE(w.cell(0, JobColumn::EncodeFps), "42");
    QCOMPARE(w.cell(0, JobColumn::ConvertedSize), "3.5MB");

    info.FPS = 0;
    info.TotalDuration = 0;
    w.form->FFVCLProgress(info);
    QCOMPARE(w.cell(0, JobColumn::Progress), "N/A");
    QCOMPARE(w.cell(0, JobColumn::EncodeFps), "42");  // kept

    info.TotalDuration = 100'000'000;
    w.form->FFVCLProgress(info);
    QCOMPARE(w.cell(0, JobColumn::Progress), "150%");
    info.TaskIndex = 7;  // no such row: ignored
    w.form->FFVCLProgress(info);

    w.form->FFVCLTerminate({0, false, false, {}});
    QCOMPARE(w.cell(0, JobColumn::Progress), "150%");
    w.form->FFVCLTerminate({0, true, false, {}});
    QCOMPARE(w.cell(0, JobColumn::Progress), "100%");
    QVERIFY(w.boxes.shown.isEmpty());
}

void Form1RunTest::failed_task_shows_one_warning_with_the_program_title() {
    EngineWindow w;
    const auto in = make_folder(w, "in");
    QVERIFY(velmora::testing::make_av_clip(in / "clip.mp4", 0.5));
    add_files(w, {q(in / "clip.mp4")});
    velmora::media::TProgressInfo info;
    info.TaskIndex = 0;
    info.CurrentDuration = 100'000;
    info.TotalDuration = 500'000;
    w.form->FFVCLProgress(info);
    w.form->FFVCLTerminate({0, false, true, "encoder exploded"});
    QCOMPARE(w.boxes.shown, QStringList{"warning|Velmora视频格式转换器|encoder exploded"});
    QCOMPARE(w.cell(0, JobColumn::Progress), "20%");
}

void Form1RunTest::run_end_restores_groups_and_runs_the_chosen_action_data() {
    QTest::addColumn<QString>("choice");
    QTest::addColumn<bool>("sound_file");
    QTest::addColumn<int>("opened");
    QTest::addColumn<int>("power_offs");
    QTest::addColumn<int>("sounds");
    QTest::newRow("open folder") << "自动打开输出文件夹" << false << 1 << 0 << 0;
    QTest::newRow("shut down") << "自动关闭计算机" << false << 0 << 1 << 0;
    QTest::newRow("sound") << " 播放提示音乐" << true << 0 << 0 << 1;
    QTest::newRow("sound file missing") << " 播放提示音乐" << false << 0 << 0 << 0;
    QTest::newRow("nothing") << "不进行任何操作" << true << 0 << 0 << 0;
}

void Form1RunTest::run_end_restores_groups_and_runs_the_chosen_action() {
    QFETCH(QString, choice);
    QFETCH(bool, sound_file);
    QFETCH(int, opened);
    QFETCH(int, power_offs);
    QFETCH(int, sounds);
    EngineWindow w;
    if (sound_file) {
        QDir().mkpath(w.folder() + "/sounds");
        velmora::testing::write_file(w.dir.path() / "sounds" / "ring001.wav", "RIFF");
    }
    w.form->set_group_enabled(ControlGroup::Edit, GroupState::Enabled);
    w.form->set_group_enabled(ControlGroup::Stop, GroupState::Enabled);
    w.form->set_group_enabled(ControlGroup::Pause, GroupState::Enabled);
    w.form->Button22Click();
    w.choose("自动关闭计算机");
    w.choose(choice);  // the dialog's buttons as they are at the run end count
    w.form->FFVCLTerminate({-1, true, false, {}});

    QCOMPARE(w.desktop.opened.size(), opened);
    QCOMPARE(w.desktop.power_offs, power_offs);
    QCOMPARE(w.desktop.sounds.size(), sounds);
    if (sounds > 0) {
        QCOMPARE(w.desktop.sounds.first(), w.folder() + "/sounds/ring001.wav");
    }
    QVERIFY(!on(w, ControlGroup::Edit) && on(w, ControlGroup::Clear));
    QVERIFY(!on(w, ControlGroup::Stop) && !on(w, ControlGroup::Pause) &&
            !on(w, ControlGroup::Resume));
    QVERIFY(on(w, ControlGroup::Preset));
    QVERIFY(w.boxes.shown.isEmpty());
}

void Form1RunTest::stopping_the_first_of_three_one_at_a_time_brings_no_run_end() {
    EngineWindow w;
    const auto in = make_folder(w, "in");
    QStringList files;
    // Long enough that the first task is still converting when the stop arrives, also on a
    // fast machine.
    for (const char* name : {"a.mp4", "b.mp4", "c.mp4"}) {
        QVERIFY(velmora::testing::make_av_clip(in / name, 120.0));
        files << q(in / name);
    }
    add_files(w, files);
    QCOMPARE(w.list().row_count(), 3);
    w.set_thread_count(1);
    w.choose("自动打开输出文件夹");
    start(w);
    QTRY_VERIFY_WITH_TIMEOUT(!w.cell(0, JobColumn::Progress).isEmpty(), kRunTimeoutMs);
    QVERIFY(w.cell(1, JobColumn::Progress).isEmpty());
    tool(w, "btnStop")->click();

    QVERIFY(!w.encoder.running());
    QVERIFY(!on(w, ControlGroup::Stop) && on(w, ControlGroup::Preset));
    QVERIFY(tool(w, "btnStart")->isEnabled());
    QVERIFY(!w.form->action("N15")->isEnabled());
    QTest::qWait(1500);
    QVERIFY(!on(w, ControlGroup::Clear));
    QVERIFY(w.desktop.opened.isEmpty());
    QVERIFY(w.cell(0, JobColumn::Progress) != "100%");
    QVERIFY(w.cell(1, JobColumn::Progress).isEmpty());
    QVERIFY(w.boxes.shown.isEmpty());
}

void Form1RunTest::stopping_a_one_job_run_brings_the_run_end() {
    EngineWindow w;
    const auto in = make_folder(w, "in");
    QVERIFY(velmora::testing::make_av_clip(in / "long.mp4", 20.0));
    add_files(w, {q(in / "long.mp4")});
    w.choose("自动打开输出文件夹");
    start(w);
    QTRY_VERIFY_WITH_TIMEOUT(!w.cell(0, JobColumn::Progress).isEmpty(), kRunTimeoutMs);
    w.form->btnStopClick();
    QTRY_VERIFY_WITH_TIMEOUT(on(w, ControlGroup::Clear), 10000);
    QTest::qWait(300);
    QCOMPARE(w.desktop.opened.size(), 1);
    QVERIFY(w.boxes.shown.isEmpty());
}

void Form1RunTest::pause_then_stop_then_start_shows_pause() {
    EngineWindow w;
    const auto in = make_folder(w, "in");
    QVERIFY(velmora::testing::make_av_clip(in / "a.mp4", 120.0));
    QVERIFY(velmora::testing::make_av_clip(in / "b.mp4", 120.0));
    add_files(w, {q(in / "a.mp4"), q(in / "b.mp4")});
    w.choose("不进行任何操作");
    w.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    start(w);
    QTRY_VERIFY_WITH_TIMEOUT(!w.cell(0, JobColumn::Progress).isEmpty(), kRunTimeoutMs);
    tool(w, "btnPause")->click();
    QVERIFY(w.encoder.paused());
    QVERIFY(tool(w, "btnResume")->isVisible() && !tool(w, "btnPause")->isVisible());
    QVERIFY(on(w, ControlGroup::Resume) && !on(w, ControlGroup::Pause));
    tool(w, "btnStop")->click();
    QVERIFY(!w.encoder.running());
    tool(w, "btnStart")->click();
    QVERIFY(w.encoder.running());
    QVERIFY(tool(w, "btnPause")->isVisible() && tool(w, "btnPause")->isEnabled());
    QVERIFY(!tool(w, "btnResume")->isVisible());
    QVERIFY(!w.encoder.paused());
    w.form->btnStopClick();
}

void Form1RunTest::dropped_files_and_folders_are_added_while_adding_is_on() {
    EngineWindow w;
    const auto in = make_folder(w, "in");
    const auto folder = make_folder(w, "dropped");
    QVERIFY(velmora::testing::make_av_clip(in / "clip.mp4", 0.5));
    QVERIFY(velmora::testing::make_audio_clip(folder / "tone.wav", 0.5));
    write_text(folder / "readme.txt");

    auto drop_on = [&](QWidget* target, const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QWidget* viewport = target;
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        const bool accepted = enter.isAccepted();
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
        return accepted;
    };
    auto drop = [&](const QList<QUrl>& urls) { return drop_on(w.list().viewport(), urls); };
    // The empty list is covered by its picture panel, which takes the first drop.
    QVERIFY(drop_on(w.form->bsSkinPanel5(),
                    {QUrl::fromLocalFile(q(in / "clip.mp4")), QUrl::fromLocalFile(q(folder))}));
    QTRY_COMPARE(w.list().row_count(), 2);
    QStringList inputs = {w.list().caption(0), w.list().caption(1)};
    inputs.sort();
    QCOMPARE(inputs, QStringList({q(folder / "tone.wav"), q(in / "clip.mp4")}));
    QVERIFY(w.boxes.shown.isEmpty());

    // On the list itself, and named on the command line: the same way in.
    QVERIFY(drop({QUrl::fromLocalFile(q(in / "clip.mp4"))}));
    QTRY_COMPARE(w.list().row_count(), 3);
    w.form->add_named_paths({q(in / "clip.mp4")});
    QCOMPARE(w.list().row_count(), 4);

    w.form->set_group_enabled(ControlGroup::Add, GroupState::Disabled);
    QVERIFY(!drop({QUrl::fromLocalFile(q(in / "clip.mp4"))}));
    w.form->add_named_paths({q(in / "clip.mp4")});
    QTest::qWait(100);
    QCOMPARE(w.list().row_count(), 4);
}

void Form1RunTest::closing_with_two_tasks_converting_ends_both() {
    EngineWindow w;
    const auto in = make_folder(w, "in");
    QVERIFY(velmora::testing::make_av_clip(in / "a.mp4", 120.0));
    QVERIFY(velmora::testing::make_av_clip(in / "b.mp4", 120.0));
    add_files(w, {q(in / "a.mp4"), q(in / "b.mp4")});
    w.set_thread_count(2);
    w.choose("自动打开输出文件夹");
    w.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    start(w);
    QTRY_VERIFY_WITH_TIMEOUT(
        !w.cell(0, JobColumn::Progress).isEmpty() && !w.cell(1, JobColumn::Progress).isEmpty(),
        kRunTimeoutMs);
    // Both convert at the same time: neither has finished while the other shows progress.
    QVERIFY(w.cell(0, JobColumn::Progress) != "100%" && w.cell(1, JobColumn::Progress) != "100%");
    QVERIFY(w.form->close());
    QVERIFY(!w.encoder.running());
    QTest::qWait(500);
    QVERIFY(w.boxes.shown.isEmpty());
    QVERIFY(w.desktop.opened.isEmpty());
    QVERIFY(w.cell(0, JobColumn::Progress) != "100%" || w.cell(1, JobColumn::Progress) != "100%");
}

QTEST_MAIN(Form1RunTest)
#include "form1_run_test.moc"
