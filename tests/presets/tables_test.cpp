// The compiled-in defaults and option list tables: completeness and the values that look odd.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "presets/catalogue.h"
#include "presets/defaults_table.h"
#include "presets/option_tables.h"

namespace velmora::presets {
namespace {

std::vector<int> catalogue_codes() {
    std::vector<int> codes;
    for (int k = 0; k < kCategoryCount; ++k) {
        for (int f = 0; f < static_cast<int>(formats_of(k).size()); ++f) {
            codes.push_back(preset_code(k, f));
        }
    }
    return codes;
}

TEST(Tables, EveryCatalogueCodeHasOneRowInEachTable) {
    const auto codes = catalogue_codes();
    ASSERT_EQ(defaults_table().size(), codes.size());
    ASSERT_EQ(option_rows_data().size(), codes.size());
    for (size_t i = 0; i < codes.size(); ++i) {
        EXPECT_EQ(defaults_table()[i].code, codes[i]);
        EXPECT_EQ(option_rows_data()[i].code, codes[i]);
        ASSERT_NE(find_defaults(codes[i]), nullptr) << codes[i];
        EXPECT_EQ(find_defaults(codes[i])->code, codes[i]);
        ASSERT_TRUE(find_option_row(codes[i]).has_value()) << codes[i];
    }
    for (int gap : {0, 99, 115, 199, 213, 1506 + 1, 2515 + 1, 2813, 9999, -100}) {
        EXPECT_EQ(find_defaults(gap), nullptr) << gap;
        EXPECT_FALSE(find_option_row(gap).has_value()) << gap;
    }
}

TEST(Tables, OddDefaultsHoldAsListed) {
    EXPECT_EQ(find_defaults(408)->video_bitrate, 7680000);
    struct ExtCase {
        int code;
        const char* ext;
        const char* file_ext;
    };
    const ExtCase cases[] = {
        {901, ".mpeg", ".mpeg"}, {906, ".avi", ".avi"},  {909, ".mp4", ".mp4"},
        {2500, ".avi", ".avi"},  {2700, ".avi", ".avi"}, {206, ".ra", ".rm"},
        {306, ".wmv", ".asf"},   {114, ".rm", ""},       {1202, ".flv", ""},
        {1203, ".swf", ""},      {1505, ".swf", ""},     {1506, ".flv", ""},
        {111, ".mpg", ""},       {100, ".avi", ".avi"},
    };
    for (const auto& c : cases) {
        const PresetDefaults* row = find_defaults(c.code);
        EXPECT_EQ(row->ext, c.ext) << c.code;
        EXPECT_EQ(row->file_ext, c.file_ext) << c.code;
    }
    // The captions of 901, 906, 909, 2500 and 2700 name another extension than their defaults.
    for (int code : {901, 906, 909, 2500, 2700}) {
        EXPECT_NE(format_extension(*format_caption(code)), find_defaults(code)->ext) << code;
    }
    const PresetDefaults* p409 = find_defaults(409);
    EXPECT_EQ(p409->video_codec, "libx264");
    EXPECT_EQ(p409->video_bitrate, 1200000);
    EXPECT_EQ(p409->frame_size, "640*480");
    EXPECT_EQ(find_defaults(413)->frame_size, "480*320");
    const PresetDefaults* amr = find_defaults(212);
    EXPECT_EQ(amr->audio_codec, "libopencore_amrnb");
    EXPECT_EQ(amr->audio_channels, "1");
    EXPECT_EQ(amr->sample_rate, "8000");
    EXPECT_EQ(amr->audio_bitrate, 7400);
    EXPECT_EQ(find_defaults(114)->video_bitrate, -1);
    EXPECT_EQ(find_defaults(114)->video_codec, "rv20");
}

TEST(Tables, DiscPresetsCarryTargetAndNorm) {
    const std::map<int, std::string> targets = {
        {111, "dvd"},   {112, "svcd"}, {113, "vcd"},   {1408, "dvd"},  {1409, "svcd"},
        {1410, "vcd"},  {2210, "dvd"}, {2211, "svcd"}, {2212, "vcd"},  {2310, "dvd"},
        {2311, "svcd"}, {2312, "vcd"}, {2412, "dvd"},  {2413, "svcd"}, {2414, "vcd"},
    };
    for (const PresetDefaults& row : defaults_table()) {
        const auto it = targets.find(row.code);
        if (it == targets.end()) {
            EXPECT_EQ(row.target_type, "") << row.code;
            EXPECT_EQ(row.norm_type, "") << row.code;
            continue;
        }
        EXPECT_EQ(row.target_type, it->second) << row.code;
        EXPECT_EQ(row.norm_type, "PAL") << row.code;
        EXPECT_EQ(row.ext, ".mpg") << row.code;
        EXPECT_EQ(row.file_ext, "") << row.code;
        EXPECT_EQ(row.video_codec, "") << row.code;
        EXPECT_EQ(row.audio_codec, "") << row.code;
        EXPECT_EQ(row.frame_size, "") << row.code;
        EXPECT_EQ(row.video_bitrate, -1000) << row.code;
        EXPECT_EQ(row.audio_bitrate, -1000) << row.code;
    }
}

TEST(Tables, AudioPresetsMakeNoVideoAndGetTheVideoLessLists) {
    const std::vector<int> audio = {200, 201, 202, 203, 204,  205,  206,  207,  208,  209,
                                    210, 211, 212, 708, 1202, 1203, 1505, 1506, 2515, 2612};
    std::vector<int> disabled;
    std::vector<int> r3;
    for (const PresetDefaults& row : defaults_table()) {
        if (row.disable_video) {
            disabled.push_back(row.code);
            EXPECT_EQ(row.video_codec, "") << row.code;
            EXPECT_EQ(row.frame_size, "") << row.code;
            EXPECT_EQ(row.video_bitrate, -1) << row.code;
        }
        if (find_option_row(row.code)->video_lists_disabled()) {
            r3.push_back(row.code);
            const auto lists = *find_option_row(row.code);
            EXPECT_EQ(lists[OptionList::VideoBitrate].contents->name, "V6");
            EXPECT_EQ(lists[OptionList::FrameRate].contents->name, "F3");
            EXPECT_EQ(lists[OptionList::Aspect].contents->name, "M3");
            for (OptionList list : kOptionLists) {
                EXPECT_EQ(lists.enabled(list),
                          list == OptionList::AudioBitrate || list == OptionList::SampleRate);
            }
        } else {
            for (OptionList list : kOptionLists) {
                EXPECT_TRUE(find_option_row(row.code)->enabled(list));
            }
        }
    }
    EXPECT_EQ(disabled, audio);
    EXPECT_EQ(r3, audio);
}

TEST(Tables, ListContentsAndTheirUse) {
    struct KindCase {
        OptionList list;
        size_t count;
        char letter;
    };
    for (const KindCase& k :
         {KindCase{OptionList::Resolution, 33, 'R'}, KindCase{OptionList::VideoBitrate, 33, 'V'},
          KindCase{OptionList::FrameRate, 8, 'F'}, KindCase{OptionList::AudioBitrate, 6, 'A'},
          KindCase{OptionList::SampleRate, 6, 'S'}, KindCase{OptionList::Aspect, 3, 'M'}}) {
        const auto contents = list_contents(k.list);
        ASSERT_EQ(contents.size(), k.count);
        for (size_t i = 0; i < contents.size(); ++i) {
            EXPECT_EQ(contents[i].name, std::string(1, k.letter) + std::to_string(i + 1));
            EXPECT_FALSE(contents[i].items.empty());
        }
    }
    // How many presets use a list, and every preselection lies inside its list.
    std::map<std::string_view, int> users;
    for (const OptionRowData& data : option_rows_data()) {
        const auto row = *find_option_row(data.code);
        for (OptionList list : kOptionLists) {
            ++users[row[list].contents->name];
            EXPECT_GE(row[list].preselected, 0);
            EXPECT_LT(row[list].preselected, static_cast<int>(row[list].contents->items.size()))
                << data.code;
        }
    }
    const std::map<std::string_view, int> expected = {
        {"R1", 110}, {"R3", 20}, {"R10", 33}, {"R33", 1},  {"V1", 68}, {"V6", 20}, {"V8", 46},
        {"F1", 131}, {"F5", 70}, {"F8", 7},   {"A1", 186}, {"A4", 82}, {"A3", 5},  {"S1", 166},
        {"S3", 75},  {"S6", 7},  {"M1", 264}, {"M2", 4},   {"M3", 20},
    };
    for (const auto& [name, count] : expected) {
        EXPECT_EQ(users[name], count) << name;
    }
    // R1, R4 and R17 list "1920*1200" twice.
    const auto resolution = list_contents(OptionList::Resolution);
    for (size_t index : {0u, 3u, 16u}) {
        const auto items = resolution[index].items;
        EXPECT_EQ(std::count(items.begin(), items.end(), "1920*1200"), 2) << resolution[index].name;
    }
    EXPECT_EQ(list_contents(OptionList::AudioBitrate)[2].items[0], "4.75 kbps");
    EXPECT_EQ(list_contents(OptionList::Resolution)[32].items.size(), 20u);
}

TEST(Tables, SpotCheckedAssignments) {
    struct Case {
        int code;
        const char* names[kOptionListCount];
        int positions[kOptionListCount];
    };
    const Case cases[] = {
        {100, {"R1", "V1", "F1", "A1", "S1", "M1"}, {0, 3, 9, 10, 4, 0}},
        {109, {"R2", "V4", "F2", "A2", "S2", "M2"}, {4, 9, 5, 5, 0, 0}},
        {212, {"R3", "V6", "F3", "A3", "S2", "M3"}, {0, 0, 0, 4, 0, 0}},
        {411, {"R6", "V8", "F5", "A4", "S3", "M1"}, {9, 3, 7, 2, 3, 2}},
        {2806, {"R33", "V31", "F4", "A1", "S1", "M1"}, {0, 3, 0, 10, 5, 0}},
        {2812, {"R24", "V19", "F1", "A1", "S1", "M1"}, {9, 7, 10, 10, 4, 0}},
    };
    for (const auto& c : cases) {
        const auto row = *find_option_row(c.code);
        for (int i = 0; i < kOptionListCount; ++i) {
            EXPECT_EQ(row.lists[i].contents->name, c.names[i]) << c.code << " list " << i;
            EXPECT_EQ(row.lists[i].preselected, c.positions[i]) << c.code << " list " << i;
        }
    }
}

}  // namespace
}  // namespace velmora::presets
