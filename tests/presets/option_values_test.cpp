// Option list entries as values, OptionIndices, the change handlers and the format change.
#include <gtest/gtest.h>

#include "presets/format_change.h"
#include "presets/option_values.h"
#include "presets/selected_row.h"

namespace velmora::presets {
namespace {

using jobs::JobColumn;
using L = OptionList;

TEST(ValueRules, EntriesGiveTheirValues) {
    struct Case {
        L list;
        const char* entry;
        const char* column_text;
    };
    const Case cases[] = {
        {L::Resolution, "保持原分辨率", ""},
        {L::Resolution, "该格式无视频", ""},
        {L::Resolution, "1280*720", "1280*720"},
        {L::FrameRate, "保持原帧速率", ""},
        {L::FrameRate, "无视频", ""},
        {L::FrameRate, "29.97", "29.97"},
        {L::FrameRate, "25.00", "25.00"},
        {L::FrameRate, "12", "12"},
        {L::VideoBitrate, "无视频", "-1000"},
        {L::VideoBitrate, "1600 kbps", "1600000"},
        {L::VideoBitrate, "8 kbps", "8000"},
        {L::AudioBitrate, "128 kbps", "128000"},
        {L::AudioBitrate, "4.75 kbps", "4750"},
        {L::AudioBitrate, "5.15 kbps", "5150"},
        {L::AudioBitrate, "5.9 kbps", "5900"},
        {L::AudioBitrate, "7.95 kbps", "7950"},
        {L::AudioBitrate, "12.2 kbps", "12200"},
        {L::AudioBitrate, " 96kbps", "96000"},
        {L::SampleRate, "44100", "44100"},
        {L::SampleRate, "8000", "8000"},
        {L::Aspect, "保持原视频模式", ""},
        {L::Aspect, "普通视频4:3模式", "4:3"},
        {L::Aspect, "宽屏视频16:9模式", "16:9"},
        {L::Aspect, "宽屏视频37:20模式", "37:20"},
        {L::Aspect, "宽屏视频47:20模式", "47:20"},
        {L::Aspect, "无视频", ""},
    };
    for (const auto& c : cases) {
        PresetValues values;
        values.Video_FrameAspectRatio = "old";
        take_entry(c.list, c.entry, values);
        EXPECT_EQ(column_text(c.list, values), c.column_text) << c.entry;
    }
    // An aspect entry that matches none keeps the value.
    PresetValues values;
    values.Video_FrameAspectRatio = "16:9";
    take_entry(L::Aspect, "其他", values);
    EXPECT_EQ(values.Video_FrameAspectRatio, "16:9");
    EXPECT_EQ(video_bitrate_of(""), -1);
    EXPECT_EQ(audio_bitrate_of("x kbps"), -1);
}

TEST(ValueRules, EveryListedEntryHasAValue) {
    for (const ListContents& list : list_contents(L::VideoBitrate)) {
        for (std::string_view entry : list.items) {
            const int32_t value = video_bitrate_of(entry);
            EXPECT_TRUE(entry == "无视频" ? value == -1000 : value > 0 && value % 1000 == 0)
                << entry;
        }
    }
    for (const ListContents& list : list_contents(L::AudioBitrate)) {
        for (std::string_view entry : list.items) {
            EXPECT_GT(audio_bitrate_of(entry), 0) << entry;
        }
    }
    for (const ListContents& list : list_contents(L::Aspect)) {
        for (std::string_view entry : list.items) {
            EXPECT_TRUE(aspect_ratio_of(entry).has_value()) << entry;
        }
    }
    EXPECT_EQ(settings_column(L::SampleRate), JobColumn::AudioSampleRate);
    EXPECT_EQ(settings_column(L::Aspect), JobColumn::FrameAspectRatio);
}

TEST(OptionIndices, LayoutOfTheTwelveCharacters) {
    // Positions 0, 3, 10, 0, 5 and 4 of lists 1, 2, 3, 4, 9 and 10.
    std::array<int, kOptionListCount> positions{};
    positions[static_cast<size_t>(L::Resolution)] = 0;
    positions[static_cast<size_t>(L::VideoBitrate)] = 3;
    positions[static_cast<size_t>(L::AudioBitrate)] = 10;
    positions[static_cast<size_t>(L::Aspect)] = 0;
    positions[static_cast<size_t>(L::FrameRate)] = 5;
    positions[static_cast<size_t>(L::SampleRate)] = 4;
    EXPECT_EQ(option_indices_text(positions), "000310000504");
    EXPECT_EQ(parse_option_indices("000310000504"), positions);
    EXPECT_EQ(with_option_index("000310000504", L::VideoBitrate, 5), "000510000504");
    EXPECT_EQ(with_option_index("000310000504", L::SampleRate, 27), "000310000527");
    EXPECT_EQ(with_option_index("000310000504", L::FrameRate, 11), "000310001104");
    // A short text keeps the layout; an impossible position keeps the pair.
    EXPECT_EQ(with_option_index("0003", L::Aspect, 2), "000300020000");
    EXPECT_EQ(with_option_index("000310000504", L::Resolution, -1), "000310000504");
    const auto partial = parse_option_indices("0003x1");
    EXPECT_EQ(partial[static_cast<size_t>(L::VideoBitrate)], 3);
    EXPECT_EQ(partial[static_cast<size_t>(L::AudioBitrate)], -1);
    EXPECT_EQ(partial[static_cast<size_t>(L::SampleRate)], -1);
}

TEST(ListChange, WritesTheSelectedRowOnly) {
    PresetValues values;
    values.Video_VideoBitrate = 816000;
    option_list_changed(L::VideoBitrate, 5, "1600 kbps", values, nullptr);
    EXPECT_EQ(values.Video_VideoBitrate, 816000);

    RowTexts row;
    row.columns[JobColumn::OptionIndices] = "000310000504";
    row.columns[JobColumn::VideoBitrate] = "816000";
    option_list_changed(L::VideoBitrate, 5, "1600 kbps", values, &row);
    EXPECT_EQ(values.Video_VideoBitrate, 1600000);
    EXPECT_EQ(row.text(JobColumn::VideoBitrate), "1600000");
    EXPECT_EQ(row.text(JobColumn::OptionIndices), "000510000504");

    option_list_changed(L::Aspect, 1, "普通视频4:3模式", values, &row);
    EXPECT_EQ(row.text(JobColumn::FrameAspectRatio), "4:3");
    EXPECT_EQ(row.text(JobColumn::OptionIndices), "000510010504");
    option_list_changed(L::Aspect, 0, "保持原视频模式", values, &row);
    EXPECT_EQ(row.text(JobColumn::FrameAspectRatio), "");
    option_list_changed(L::AudioBitrate, 12, "160 kbps", values, &row);
    EXPECT_EQ(row.text(JobColumn::AudioBitrate), "160000");
    EXPECT_EQ(row.text(JobColumn::OptionIndices), "000512000504");
}

TEST(ReadAllLists, SetsSixValuesAndNothingElse) {
    PresetValues values;
    values.Video_VideoCodec = "mpeg4";
    values.Video_FrameAspectRatio = "4:3";
    ShownTexts shown = {"640*480", "768 kbps", "29.97", "4.75 kbps", "48000", "宽屏视频16:9模式"};
    Button13Click(shown, values);
    EXPECT_EQ(values.Video_FrameSize, "640*480");
    EXPECT_EQ(values.Video_VideoBitrate, 768000);
    EXPECT_EQ(values.Video_FrameRate, "29.97");
    EXPECT_EQ(values.Video_AudioBitrate, 4750);
    EXPECT_EQ(values.Video_AudioSampleRate, "48000");
    EXPECT_EQ(values.Video_FrameAspectRatio, "16:9");
    EXPECT_EQ(values.Video_VideoCodec, "mpeg4");
    shown[static_cast<size_t>(L::Aspect)] = "";
    Button13Click(shown, values);
    EXPECT_EQ(values.Video_FrameAspectRatio, "16:9");
}

// The window's part of a format change, without widgets: the lists, the values and one row.
struct Window {
    OptionPanel panel;
    PresetValues values;
    RowTexts row;
    bool row_selected = true;
    OutputNaming naming;

    SelectedRow* selected() { return row_selected ? &row : nullptr; }

    // bsSkinOfficeComboBox1Change for a new preset code.
    void choose_format(int code) {
        replay(Button18Click(code), panel, [&](OptionList list) {
            option_list_changed(list, panel.position(list), panel.shown_text(list), values,
                                selected());
        });
        finish_format_change({code, values.Video_AddFileName, naming}, panel.shown_texts(), values,
                             selected());
    }
};

Window window_on(int code) {
    Window w;
    w.naming.output_folder = "/out";
    w.naming.path_exists = [](const std::string&) { return false; };
    w.row.input = "/in/movie.avi";
    w.row.columns[JobColumn::OutputFile] = "movie.avi";
    w.row.columns[JobColumn::OptionIndices] = "000000000000";
    w.choose_format(code);
    return w;
}

TEST(FormatChange, TheSelectedRowTakesTheNewPreset) {
    Window w = window_on(100);
    EXPECT_EQ(w.row.text(JobColumn::PresetCode), "100");
    EXPECT_EQ(w.row.text(JobColumn::OptionIndices), "000310000904");
    EXPECT_EQ(w.row.text(JobColumn::OutputFile), "movie.avi");
    w.row.columns[JobColumn::OutputFile] = "movie.mp4";

    w.choose_format(200);
    EXPECT_EQ(w.row.text(JobColumn::FrameSize), "");
    EXPECT_EQ(w.row.text(JobColumn::FrameRate), "");
    EXPECT_EQ(w.row.text(JobColumn::FrameAspectRatio), "");
    EXPECT_EQ(w.row.text(JobColumn::VideoBitrate), "-1");
    EXPECT_EQ(w.row.text(JobColumn::VideoDisabled), "True");
    EXPECT_EQ(w.row.text(JobColumn::AudioCodec), "libmp3lame");
    EXPECT_EQ(w.row.text(JobColumn::OutputFile), "movie.mp3");
    EXPECT_EQ(w.row.text(JobColumn::PresetCode), "200");
    EXPECT_EQ(w.row.input_file(), "/in/movie.avi");
    EXPECT_EQ(w.values.Video_VideoBitrate, -1000);
    EXPECT_EQ(w.values.Video_AudioSampleRate, "44100");
    // Only the lists whose text changed wrote their positions: the audio lists kept theirs.
    EXPECT_EQ(w.row.text(JobColumn::OptionIndices), "000010000004");

    w.choose_format(210);
    EXPECT_EQ(w.row.text(JobColumn::OutputFile), "movie.flac");
}

TEST(FormatChange, RowHoldsDefaultsWhileValuesHoldTheListedEntries) {
    Window w = window_on(101);
    EXPECT_EQ(w.row.text(JobColumn::VideoBitrate), "816000");
    EXPECT_EQ(w.panel.shown_text(L::VideoBitrate), "768 kbps");
    EXPECT_EQ(w.values.Video_VideoBitrate, 768000);
    EXPECT_EQ(w.row.text(JobColumn::OutputFile), "movie.mp4");
    // Picking an entry afterwards writes its value.
    ASSERT_TRUE(w.panel.set_position(L::VideoBitrate, 6));
    option_list_changed(L::VideoBitrate, 6, w.panel.shown_text(L::VideoBitrate), w.values,
                        w.selected());
    EXPECT_EQ(w.row.text(JobColumn::VideoBitrate), "1600000");
}

TEST(FormatChange, UnchangedTextsKeepTheirCharacters) {
    Window w = window_on(100);
    EXPECT_EQ(w.row.text(JobColumn::OptionIndices).substr(8, 2), "09");
    w.choose_format(400);
    EXPECT_EQ(w.panel.position(L::FrameRate), 7);
    EXPECT_EQ(w.row.text(JobColumn::OptionIndices).substr(8, 2), "09");
    EXPECT_EQ(w.row.text(JobColumn::OptionIndices).substr(0, 2), "03");
}

TEST(FormatChange, WithoutASelectedRowOnlyTheListsChange) {
    Window w = window_on(100);
    w.row_selected = false;
    const PresetValues before = w.values;
    const RowTexts row_before = w.row;
    w.choose_format(200);
    EXPECT_EQ(w.values.Video_VideoBitrate, before.Video_VideoBitrate);
    EXPECT_EQ(w.values.Video_FrameSize, before.Video_FrameSize);
    EXPECT_EQ(w.values.Video_DisableVideo, before.Video_DisableVideo);
    EXPECT_EQ(w.row.columns, row_before.columns);
    EXPECT_EQ(w.panel.shown_text(L::Resolution), "该格式无视频");
    EXPECT_FALSE(w.panel.enabled(L::Resolution));
}

TEST(FormatChange, NeverPointsTheRowAtItsInputOrAnotherRow) {
    Window w = window_on(101);
    w.row.input = "/out/movie.avi";
    w.naming.names_in_use = {"movie.mkv"};
    w.choose_format(100);
    EXPECT_EQ(w.row.text(JobColumn::OutputFile), "movie_1.avi");
    w.row.columns[JobColumn::OutputFile] = "movie.mp4";
    w.choose_format(105);
    EXPECT_EQ(w.row.text(JobColumn::OutputFile), "movie_1.mkv");
}

}  // namespace
}  // namespace velmora::presets
