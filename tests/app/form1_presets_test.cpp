// The main window's preset controls: refilling the option lists, their change handlers, the
// format change of the selected job, loading defaults for an added file and restoring a job's
// choices.
#include <QMap>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <optional>

#include "app/form2.h"
#include "app/widgets/pass_focus_line_edit.h"
#include "app_harness.h"
#include "job_rows.h"
#include "jobs/job_row.h"
#include "presets/catalogue.h"
#include "presets/option_tables.h"
#include "settings/TForm5.h"
#include "support/temp_dir.h"

using velmora::app::OptionComboBox;
using velmora::app::TForm1;
using velmora::presets::OptionList;
using velmora::testing::append_job;
using velmora::testing::AppHarness;
using velmora::testing::cell;
using velmora::testing::choose_preset;
using velmora::testing::pick_entry;
namespace jobs = velmora::jobs;

namespace {

// Job columns by name, for the expectation tables.
const QMap<QString, jobs::JobColumn> kColumns = {
    {"OutputFile", jobs::OutputFile},
    {"PresetCode", jobs::PresetCode},
    {"OptionIndices", jobs::OptionIndices},
    {"VideoCodec", jobs::VideoCodec},
    {"AudioCodec", jobs::AudioCodec},
    {"AudioChannels", jobs::AudioChannels},
    {"VideoTag", jobs::VideoTag},
    {"FileExt", jobs::FileExt},
    {"FrameSize", jobs::FrameSize},
    {"VideoBitrate", jobs::VideoBitrate},
    {"FrameRate", jobs::FrameRate},
    {"AudioBitrate", jobs::AudioBitrate},
    {"AudioSampleRate", jobs::AudioSampleRate},
    {"FrameAspectRatio", jobs::FrameAspectRatio},
    {"VideoDisabled", jobs::VideoDisabled},
    {"TargetType", jobs::TargetType},
    {"NormType", jobs::NormType},
};

// The six lists by combo box number, in the order the window names them.
const int kBoxNumbers[] = {1, 2, 3, 4, 9, 10};

// The OptionIndices preset 100 preselects: R1 at 0, V1 at 3, A1 at 10, M1 at 0, F1 at 9, S1 at 4.
const QString kIndicesOf100 = QStringLiteral("000310000904");

// Records every change event of the six lists with a snapshot taken at that moment.
class ChangeRecorder {
  public:
    ChangeRecorder(TForm1& form, std::function<QString()> snapshot = {}) {
        for (int number : kBoxNumbers) {
            OptionComboBox* list = form.bsSkinComboBox(number);
            QObject::connect(list, &OptionComboBox::changed, list, [this, number, snapshot] {
                events << QString::number(number);
                if (snapshot) {
                    snapshots << snapshot();
                }
            });
        }
    }
    QStringList events;
    QStringList snapshots;
};

QStringList shown_texts(TForm1& form) {
    QStringList texts;
    for (int number : kBoxNumbers) {
        texts << form.bsSkinComboBox(number)->shown_text();
    }
    return texts;
}

QList<bool> enabled_states(TForm1& form) {
    QList<bool> states;
    for (int number : kBoxNumbers) {
        states << form.bsSkinComboBox(number)->isEnabled();
    }
    return states;
}

OptionComboBox* list_of(TForm1& form, OptionList list) {
    switch (list) {
        case OptionList::Resolution:
            return form.bsSkinComboBox(1);
        case OptionList::VideoBitrate:
            return form.bsSkinComboBox(2);
        case OptionList::FrameRate:
            return form.bsSkinComboBox(9);
        case OptionList::AudioBitrate:
            return form.bsSkinComboBox(3);
        case OptionList::SampleRate:
            return form.bsSkinComboBox(10);
        case OptionList::Aspect:
            return form.bsSkinComboBox(4);
    }
    return nullptr;
}

// Every column of a row, caption first.
QStringList row_of(TForm1& form, int row) {
    QStringList texts{form.lvFiles()->caption(row)};
    for (int k = 0; k < jobs::kSubColumnCount; ++k) {
        texts << form.lvFiles()->cell(row, k);
    }
    return texts;
}

// A job of preset 100 as adding it leaves it, selected.
int select_job_of_100(TForm1& form, const QString& input = "/in/movie.wmv",
                      const QString& output = "movie.avi") {
    const int row = append_job(form, input, output, 100, form.current_option_indices());
    form.lvFiles()->select_row(row);
    return row;
}

}  // namespace

class Form1PresetsTest : public QObject {
    Q_OBJECT
  private slots:
    void start_up_fills_the_lists_of_preset_100_and_loads_nothing();
    void every_preset_fills_its_lists_and_leaves_unselected_rows_alone();
    void refill_raises_change_events_in_order_before_filling_the_next_list();
    void equal_preselected_text_raises_no_change_event();
    void format_change_leaves_the_selected_job_with_the_defaults_data();
    void format_change_leaves_the_selected_job_with_the_defaults();
    void indices_keep_their_characters_when_a_list_text_stays();
    void picking_entries_writes_the_selected_job();
    void picking_without_a_selected_job_changes_nothing();
    void rechoosing_the_format_keeps_the_job_output_name();
    void format_change_never_gives_a_job_another_job_output();
    void adding_loads_defaults_without_touching_the_selected_job();
    void added_file_output_name_avoids_taken_names_data();
    void added_file_output_name_avoids_taken_names();
    void restoring_a_job_reapplies_its_preset_and_choices();
    void restoring_stops_at_a_choice_outside_the_lists();
    void refilling_while_the_preset_group_is_off_keeps_the_lists_off();
};

void Form1PresetsTest::start_up_fills_the_lists_of_preset_100_and_loads_nothing() {
    AppHarness harness;
    TForm1& form = harness.open();
    QCOMPARE(shown_texts(form), QStringList({"保持原分辨率", "816 kbps", "128 kbps",
                                             "保持原视频模式", "25.00", "44100"}));
    QCOMPARE(enabled_states(form), QList<bool>({true, true, true, true, true, true}));
    QCOMPARE(form.current_option_indices(), kIndicesOf100);
    // Start-up does not load the current preset values: they stay empty until a file is added.
    const auto& values = form.preset_values();
    QCOMPARE(values.Video_VideoBitrate, 0);
    QCOMPARE(values.Video_AudioBitrate, 0);
    QVERIFY(values.Video_VideoCodec.empty());
    QVERIFY(values.Video_FrameRate.empty());
    QVERIFY(values.Video_AudioVolume.empty());
}

void Form1PresetsTest::every_preset_fills_its_lists_and_leaves_unselected_rows_alone() {
    AppHarness harness;
    TForm1& form = harness.open();
    append_job(form, "/in/a.avi", "a.avi", 100, kIndicesOf100);
    append_job(form, "/in/b.avi", "b.mp4", 101, kIndicesOf100);
    QCOMPARE(form.lvFiles()->selected_index(), -1);
    const QStringList first = row_of(form, 0);
    const QStringList second = row_of(form, 1);
    int checked = 0;
    for (int category = 0; category < velmora::presets::kCategoryCount; ++category) {
        const int formats = static_cast<int>(velmora::presets::formats_of(category).size());
        for (int format = 0; format < formats; ++format) {
            const int code = velmora::presets::preset_code(category, format);
            choose_preset(form, code);
            QCOMPARE(form.current_preset_code(), code);
            const auto row = velmora::presets::find_option_row(code);
            QVERIFY(row.has_value());
            for (OptionList list : velmora::presets::kOptionLists) {
                OptionComboBox* box = list_of(form, list);
                const auto& assigned = (*row)[list];
                QCOMPARE(box->item_count(), static_cast<int>(assigned.contents->items.size()));
                for (int i = 0; i < box->item_count(); ++i) {
                    QCOMPARE(box->item_text(i).toStdString(),
                             std::string(assigned.contents->items[static_cast<size_t>(i)]));
                }
                QCOMPARE(box->item_index(), assigned.preselected);
                QCOMPARE(box->shown_text(), box->item_text(assigned.preselected));
                QCOMPARE(box->isEnabled(), row->enabled(list));
            }
            // An option picked with no job selected changes no job either.
            OptionComboBox* audio = form.bsSkinComboBox(3);
            audio->set_item_index((audio->item_index() + 1) % audio->item_count());
            ++checked;
        }
    }
    QCOMPARE(checked, velmora::presets::kPresetCount);
    QCOMPARE(row_of(form, 0), first);
    QCOMPARE(row_of(form, 1), second);
    // Nor do the current preset values change without a selected job.
    QCOMPARE(form.preset_values().Video_VideoBitrate, 0);
    QCOMPARE(form.preset_values().Video_AudioBitrate, 0);
    QVERIFY(form.preset_values().Video_FrameSize.empty());
}

void Form1PresetsTest::refill_raises_change_events_in_order_before_filling_the_next_list() {
    AppHarness harness;
    TForm1& form = harness.open();
    const int row = select_job_of_100(form);
    // At each event: the frame rate list's entry count and the job's VideoBitrate.
    ChangeRecorder recorder(form, [&] {
        return QString::number(form.bsSkinComboBox(9)->item_count()) + "|" +
               cell(form, row, jobs::VideoBitrate);
    });
    choose_preset(form, 200);
    // The audio-only preset changes the four video lists; the audio lists keep their texts.
    QCOMPARE(recorder.events, QStringList({"1", "2", "9", "4"}));
    // The video bitrate list's handler ran while the frame rate list was still empty, and
    // wrote its value into the job before the defaults replaced it.
    QCOMPARE(recorder.snapshots[1], QString("0|-1000"));
    QCOMPARE(shown_texts(form),
             QStringList({"该格式无视频", "无视频", "128 kbps", "无视频", "无视频", "44100"}));
    QCOMPARE(enabled_states(form), QList<bool>({false, false, true, false, false, true}));

    recorder.events.clear();
    // Back through the category's first format (100), then to 101 ("768 kbps").
    choose_preset(form, 101);
    QCOMPARE(recorder.events, QStringList({"1", "2", "9", "4", "2"}));
    QCOMPARE(enabled_states(form), QList<bool>({true, true, true, true, true, true}));
}

void Form1PresetsTest::equal_preselected_text_raises_no_change_event() {
    AppHarness harness;
    TForm1& form = harness.open();
    ChangeRecorder recorder(form);
    // 101 preselects the texts of 100 except the video bitrate ("768 kbps" at the same place).
    choose_preset(form, 101);
    QCOMPARE(recorder.events, QStringList({"2"}));
    recorder.events.clear();
    // 100 and 400 both preselect "25.00" and "128 kbps", at other positions, and the same aspect.
    choose_preset(form, 100);
    choose_preset(form, 400);
    QCOMPARE(recorder.events, QStringList({"2", "1", "2", "10"}));
    QCOMPARE(form.bsSkinComboBox(9)->item_index(), 7);
    QCOMPARE(form.bsSkinComboBox(3)->item_index(), 2);
}

void Form1PresetsTest::format_change_leaves_the_selected_job_with_the_defaults_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("expected");  // "column=text" of the job after the change
    QTest::addColumn<qint32>("video_bitrate");  // the current preset value after the change
    QTest::addColumn<QString>("sample_rate");   // the current preset value after the change
    QTest::newRow("101: the job keeps the default, the list shows its entry")
        << 101
        << QStringList({"OutputFile=movie.mp4", "PresetCode=101", "VideoCodec=mpeg4",
                        "AudioCodec=libmp3lame", "AudioChannels=2", "VideoTag=", "FileExt=.mp4",
                        "FrameSize=", "VideoBitrate=816000", "FrameRate=25", "AudioBitrate=128000",
                        "AudioSampleRate=44100", "FrameAspectRatio=", "VideoDisabled=False",
                        "TargetType=", "NormType="})
        << qint32(768000) << "44100";
    QTest::newRow("200: audio only")
        << 200
        << QStringList({"OutputFile=movie.mp3", "PresetCode=200", "VideoCodec=", "VideoTag=",
                        "AudioCodec=libmp3lame", "FrameSize=", "VideoBitrate=-1", "FrameRate=",
                        "FrameAspectRatio=", "AudioSampleRate=48000", "VideoDisabled=True"})
        << qint32(-1000) << "44100";
    QTest::newRow("111: disc") << 111
                               << QStringList({"OutputFile=movie.mpg", "PresetCode=111",
                                               "VideoCodec=", "AudioCodec=", "FileExt=",
                                               "FrameSize=", "VideoBitrate=-1000",
                                               "AudioBitrate=-1000", "VideoDisabled=False",
                                               "TargetType=dvd", "NormType=PAL"})
                               << qint32(1200000) << "44100";
    QTest::newRow("210: FLAC renames the output")
        << 210
        << QStringList(
               {"OutputFile=movie.flac", "PresetCode=210", "AudioCodec=flac", "VideoDisabled=True"})
        << qint32(-1000) << "48000";
}

void Form1PresetsTest::format_change_leaves_the_selected_job_with_the_defaults() {
    QFETCH(int, code);
    QFETCH(QStringList, expected);
    QFETCH(qint32, video_bitrate);
    QFETCH(QString, sample_rate);
    AppHarness harness;
    TForm1& form = harness.open();
    const int row = select_job_of_100(form);
    const int changes = form.format_changes_run();
    choose_preset(form, code);
    QVERIFY(form.format_changes_run() > changes);
    QCOMPARE(form.lvFiles()->selected_index(), row);
    QCOMPARE(form.lvFiles()->caption(row), QString("/in/movie.wmv"));
    for (const QString& pair : expected) {
        const QString name = pair.section('=', 0, 0);
        QVERIFY2(kColumns.contains(name), qPrintable(name));
        QCOMPARE(name + "=" + cell(form, row, kColumns.value(name)), pair);
    }
    QCOMPARE(form.preset_values().Video_VideoBitrate, video_bitrate);
    QCOMPARE(QString::fromStdString(form.preset_values().Video_AudioSampleRate), sample_rate);
}

void Form1PresetsTest::indices_keep_their_characters_when_a_list_text_stays() {
    AppHarness harness;
    TForm1& form = harness.open();
    const int row = select_job_of_100(form);
    QCOMPARE(cell(form, row, jobs::OptionIndices), kIndicesOf100);
    choose_preset(form, 400);
    // Resolution ("320*240" at 3), video bitrate ("1000 kbps" at 4) and sample rate ("48000" at
    // 3) changed their texts; audio bitrate ("128 kbps" now at 2), aspect and frame rate
    // ("25.00" now at 7) kept theirs, so their characters stay.
    QCOMPARE(cell(form, row, jobs::OptionIndices), QString("030410000903"));
    QCOMPARE(form.current_option_indices(), QString("030402000703"));
    // The job holds the defaults of 400, the lists and the current values the entries.
    QCOMPARE(cell(form, row, jobs::VideoBitrate), QString("512000"));
    QCOMPARE(form.bsSkinComboBox(2)->shown_text(), QString("1000 kbps"));
    QCOMPARE(form.preset_values().Video_VideoBitrate, 1000000);
    QCOMPARE(QString::fromStdString(form.preset_values().Video_FrameSize), QString("320*240"));
}

void Form1PresetsTest::picking_entries_writes_the_selected_job() {
    AppHarness harness;
    TForm1& form = harness.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const int row = select_job_of_100(form);
    form.bsSkinComboBox(2)->setFocus();

    QVERIFY(pick_entry(form.bsSkinComboBox(2), "1600 kbps"));
    QCOMPARE(form.preset_values().Video_VideoBitrate, 1600000);
    QCOMPARE(cell(form, row, jobs::VideoBitrate), QString("1600000"));
    QCOMPARE(cell(form, row, jobs::OptionIndices), QString("000510000904"));
    QVERIFY(form.lvFiles()->hasFocus());

    QVERIFY(pick_entry(form.bsSkinComboBox(4), "普通视频4:3模式"));
    QCOMPARE(cell(form, row, jobs::FrameAspectRatio), QString("4:3"));
    QVERIFY(pick_entry(form.bsSkinComboBox(4), "保持原视频模式"));
    QCOMPARE(cell(form, row, jobs::FrameAspectRatio), QString());
    QVERIFY(pick_entry(form.bsSkinComboBox(1), "1280*720"));
    QVERIFY(pick_entry(form.bsSkinComboBox(9), "29.97"));
    QVERIFY(pick_entry(form.bsSkinComboBox(3), "320 kbps"));
    QVERIFY(pick_entry(form.bsSkinComboBox(10), "22050"));
    QCOMPARE(cell(form, row, jobs::FrameSize), QString("1280*720"));
    QCOMPARE(cell(form, row, jobs::FrameRate), QString("29.97"));
    QCOMPARE(cell(form, row, jobs::AudioBitrate), QString("320000"));
    QCOMPARE(cell(form, row, jobs::AudioSampleRate), QString("22050"));
    QCOMPARE(cell(form, row, jobs::OptionIndices), QString("190516001002"));
    QCOMPARE(cell(form, row, jobs::OptionIndices), form.current_option_indices());
    // The format-change columns are not the lists' to write.
    QCOMPARE(cell(form, row, jobs::OutputFile), QString("movie.avi"));
    QCOMPARE(cell(form, row, jobs::PresetCode), QString("100"));
}

void Form1PresetsTest::picking_without_a_selected_job_changes_nothing() {
    AppHarness harness;
    TForm1& form = harness.open();
    const int row = append_job(form, "/in/movie.wmv", "movie.avi", 100, kIndicesOf100);
    const QStringList before = row_of(form, row);
    QVERIFY(pick_entry(form.bsSkinComboBox(2), "1600 kbps"));
    QVERIFY(pick_entry(form.bsSkinComboBox(1), "1280*720"));
    QCOMPARE(row_of(form, row), before);
    QCOMPARE(form.preset_values().Video_VideoBitrate, 0);
    QVERIFY(form.preset_values().Video_FrameSize.empty());
    // Picking the text a list already shows raises nothing and so writes nothing, also with a
    // job selected.
    form.lvFiles()->select_row(row);
    const QStringList selected = row_of(form, row);
    QVERIFY(pick_entry(form.bsSkinComboBox(2), form.bsSkinComboBox(2)->shown_text()));
    QCOMPARE(row_of(form, row), selected);
}

void Form1PresetsTest::rechoosing_the_format_keeps_the_job_output_name() {
    AppHarness harness;
    TForm1& form = harness.open();
    const int row = select_job_of_100(form);
    QVERIFY(pick_entry(form.bsSkinComboBox(2), "1600 kbps"));
    // Re-choosing the category goes back to its first format and rewrites the job; its own
    // output name does not count as taken.
    form.bsSkinOfficeComboBox2()->set_item_index(0);
    QCOMPARE(cell(form, row, jobs::OutputFile), QString("movie.avi"));
    QCOMPARE(cell(form, row, jobs::VideoBitrate), QString("816000"));
    QCOMPARE(form.bsSkinComboBox(2)->shown_text(), QString("816 kbps"));
}

void Form1PresetsTest::format_change_never_gives_a_job_another_job_output() {
    AppHarness harness;
    TForm1& form = harness.open();
    append_job(form, "/in/movie.avi", "movie.mp4", 101, kIndicesOf100);
    const int row = select_job_of_100(form, "/other/movie.wmv", "movie.avi");
    choose_preset(form, 101);
    QCOMPARE(cell(form, row, jobs::OutputFile), QString("movie_1.mp4"));
    QCOMPARE(cell(form, 0, jobs::OutputFile), QString("movie.mp4"));

    // A job whose input lies in the output folder never gets its input as output.
    const QString folder = form.Video_OutPut_Folder_Edit()->text();
    const int own = append_job(form, folder + "/clip.mp4", "clip.avi", 100, kIndicesOf100);
    form.lvFiles()->select_row(own);
    choose_preset(form, 101);
    QCOMPARE(cell(form, own, jobs::OutputFile), QString("clip_1.mp4"));
}

void Form1PresetsTest::adding_loads_defaults_without_touching_the_selected_job() {
    AppHarness harness;
    TForm1& form = harness.open();
    const int row = select_job_of_100(form);
    form.Button6Click();
    QCOMPARE(QString::fromStdString(form.preset_values().Video_AudioVolume), QString("256"));
    QCOMPARE(form.preset_values().Video_VideoBitrate, -1);
    QCOMPARE(form.preset_values().Video_TimeStart, -1);

    // The selected job is on 101 with choices of its own that differ from 101's defaults.
    choose_preset(form, 101);
    QVERIFY(pick_entry(form.bsSkinComboBox(2), "1600 kbps"));
    QVERIFY(pick_entry(form.bsSkinComboBox(1), "1280*720"));
    const QStringList selected_job = row_of(form, row);
    QCOMPARE(cell(form, row, jobs::VideoBitrate), QString("1600000"));

    // The adding steps for another file: defaults, then the lists' entries.
    form.set_add_file_name("/in/clip.mov");
    form.Button5Click(TForm1::DefaultsTarget::ValuesOnly);
    const auto& values = form.preset_values();
    QCOMPARE(QString::fromStdString(values.Video_AddFileName), QString("/in/clip.mov"));
    QCOMPARE(QString::fromStdString(values.Video_OutPutFileName),
             form.Video_OutPut_Folder_Edit()->text() + "/clip.mp4");
    QCOMPARE(values.Video_VideoBitrate, 816000);
    QVERIFY(values.Video_FrameSize.empty());
    QCOMPARE(QString::fromStdString(values.Video_AudioVolume), QString("256"));
    form.Button13Click();
    QCOMPARE(values.Video_VideoBitrate, 1600000);
    QCOMPARE(QString::fromStdString(values.Video_FrameSize), QString("1280*720"));
    QCOMPARE(QString::fromStdString(values.Video_FrameRate), QString("25.00"));
    // The selected job keeps its own settings.
    QCOMPARE(row_of(form, row), selected_job);

    // The format-change form writes the selected job.
    form.Button5Click(TForm1::DefaultsTarget::SelectedRow);
    QCOMPARE(cell(form, row, jobs::VideoBitrate), QString("816000"));
    QCOMPARE(cell(form, row, jobs::FrameSize), QString());
}

void Form1PresetsTest::added_file_output_name_avoids_taken_names_data() {
    QTest::addColumn<QStringList>("on_disk");
    QTest::addColumn<QStringList>("in_list");  // OutputFile names of rows in the list
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<QString>("expected");
    QTest::newRow("free") << QStringList() << QStringList() << false << "movie.avi";
    QTest::newRow("on disk") << QStringList({"movie.avi"}) << QStringList() << false
                             << "movie_1.avi";
    QTest::newRow("two on disk") << QStringList({"movie.avi", "movie_1.avi"}) << QStringList()
                                 << false << "movie_2.avi";
    QTest::newRow("overwrite chosen")
        << QStringList({"movie.avi"}) << QStringList() << true << "movie.avi";
    QTest::newRow("another job's")
        << QStringList() << QStringList({"movie.avi"}) << true << "movie_1.avi";
    QTest::newRow("job and disk") << QStringList({"movie_1.avi"}) << QStringList({"movie.avi"})
                                  << false << "movie_2.avi";
}

void Form1PresetsTest::added_file_output_name_avoids_taken_names() {
    QFETCH(QStringList, on_disk);
    QFETCH(QStringList, in_list);
    QFETCH(bool, overwrite);
    QFETCH(QString, expected);
    AppHarness harness;
    TForm1& form = harness.open();
    velmora::app::TForm2 about(harness.desktop, &form);
    velmora::settings::TForm5 options(form.ini(), harness.boxes, &form);
    form.attach_dialogs(about, options);
    if (overwrite) {
        for (QRadioButton* button : options.findChildren<QRadioButton*>()) {
            if (button->text() == "直接覆盖输出文件") {
                button->setChecked(true);
            }
        }
        QVERIFY(options.overwrite_chosen());
    }
    const QString folder = form.Video_OutPut_Folder_Edit()->text();
    for (const QString& name : on_disk) {
        velmora::testing::write_file((folder + "/" + name).toStdString(), "x");
    }
    for (const QString& name : in_list) {
        append_job(form, "/in/x.avi", name, 100, kIndicesOf100);
    }
    form.set_add_file_name("/in/movie.wmv");
    form.Button5Click(TForm1::DefaultsTarget::ValuesOnly);
    QCOMPARE(QString::fromStdString(form.preset_values().Video_OutPutFileName),
             folder + "/" + expected);
}

void Form1PresetsTest::restoring_a_job_reapplies_its_preset_and_choices() {
    AppHarness harness;
    TForm1& form = harness.open();
    // 101's lists at: 352*240, 1600 kbps, 160 kbps, 16:9, 29.97, 48000.
    const QString indices = "050612021005";
    const int row = append_job(form, "/in/movie.wmv", "movie.avi", 101, indices);
    form.lvFiles()->select_row(row);
    ChangeRecorder recorder(form);
    const int changes = form.format_changes_run();
    form.restore_job_choices(101, indices);
    // The category brings its first format, then the job's format follows.
    QCOMPARE(form.format_changes_run(), changes + 2);
    QCOMPARE(form.current_preset_code(), 101);
    QCOMPARE(recorder.events.mid(recorder.events.size() - 6),
             QStringList({"1", "2", "3", "4", "9", "10"}));
    QCOMPARE(form.current_option_indices(), indices);
    QCOMPARE(cell(form, row, jobs::OptionIndices), indices);
    QCOMPARE(cell(form, row, jobs::PresetCode), QString("101"));
    QCOMPARE(cell(form, row, jobs::OutputFile), QString("movie.mp4"));
    QCOMPARE(cell(form, row, jobs::FrameSize), QString("352*240"));
    QCOMPARE(cell(form, row, jobs::VideoBitrate), QString("1600000"));
    QCOMPARE(cell(form, row, jobs::AudioBitrate), QString("160000"));
    QCOMPARE(cell(form, row, jobs::FrameAspectRatio), QString("16:9"));
    QCOMPARE(cell(form, row, jobs::FrameRate), QString("29.97"));
    QCOMPARE(cell(form, row, jobs::AudioSampleRate), QString("48000"));
    QCOMPARE(cell(form, row, jobs::VideoCodec), QString("mpeg4"));

    // Restoring the same choices again leaves the job as it is.
    const QStringList settled = row_of(form, row);
    form.restore_job_choices(101, indices);
    QCOMPARE(row_of(form, row), settled);
}

void Form1PresetsTest::restoring_stops_at_a_choice_outside_the_lists() {
    AppHarness harness;
    TForm1& form = harness.open();
    const int row = append_job(form, "/in/movie.wmv", "movie.avi", 100, kIndicesOf100);
    form.lvFiles()->select_row(row);
    const int changes = form.format_changes_run();
    // A code outside the catalogue changes nothing.
    form.restore_job_choices(2899, kIndicesOf100);
    form.restore_job_choices(0, kIndicesOf100);
    QCOMPARE(form.format_changes_run(), changes);
    QCOMPARE(form.current_preset_code(), 100);
    // Resolution 1 is restored; the video bitrate pair "x3" ends it, the rest keep preselected.
    form.restore_job_choices(100, "01x310020904");
    QCOMPARE(form.bsSkinComboBox(1)->shown_text(), QString("128*96"));
    QCOMPARE(form.bsSkinComboBox(2)->shown_text(), QString("816 kbps"));
    QCOMPARE(form.bsSkinComboBox(4)->shown_text(), QString("保持原视频模式"));
    QCOMPARE(cell(form, row, jobs::FrameSize), QString("128*96"));
    // A position past the list's end ends it too, without blanking the list.
    form.restore_job_choices(100, "009910000904");
    QCOMPARE(form.bsSkinComboBox(2)->shown_text(), QString("816 kbps"));
    QCOMPARE(form.bsSkinComboBox(3)->shown_text(), QString("128 kbps"));
}

void Form1PresetsTest::refilling_while_the_preset_group_is_off_keeps_the_lists_off() {
    AppHarness harness;
    TForm1& form = harness.open();
    form.Button22Click();  // a run has started
    const int row = select_job_of_100(form);
    form.restore_job_choices(101, form.lvFiles()->cell(row, jobs::OptionIndices));
    QCOMPARE(enabled_states(form), QList<bool>({false, false, false, false, false, false}));
    form.Button23Click();  // the run has ended
    form.restore_job_choices(200, form.lvFiles()->cell(row, jobs::OptionIndices));
    QCOMPARE(enabled_states(form), QList<bool>({false, false, true, false, false, true}));
}

QTEST_MAIN(Form1PresetsTest)
#include "form1_presets_test.moc"
