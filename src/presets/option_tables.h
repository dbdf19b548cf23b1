// The contents of the six option lists that each preset offers, and their preselected entries.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "presets/catalogue.h"

namespace velmora::presets {

// The six option lists, in the order the catalogue assigns them.
enum class OptionList : int {
    Resolution = 0,    // bsSkinComboBox1
    VideoBitrate = 1,  // bsSkinComboBox2
    FrameRate = 2,     // bsSkinComboBox9
    AudioBitrate = 3,  // bsSkinComboBox3
    SampleRate = 4,    // bsSkinComboBox10
    Aspect = 5,        // bsSkinComboBox4
};

inline constexpr int kOptionListCount = 6;

// Every option list, in the order above.
inline constexpr std::array<OptionList, kOptionListCount> kOptionLists = {
    OptionList::Resolution,   OptionList::VideoBitrate, OptionList::FrameRate,
    OptionList::AudioBitrate, OptionList::SampleRate,   OptionList::Aspect,
};

// One of the 89 distinct list contents ("R1" to "R33", "V1" to "V33", "F1" to "F8", "A1" to "A6",
// "S1" to "S6", "M1" to "M3") with its entries by position.
struct ListContents {
    std::string_view name;
    std::span<const std::string_view> items;
};

// What one option list of a preset holds: its contents and the position preselected in it.
struct ListAssignment {
    const ListContents* contents;
    int preselected;
};

// One preset's six assignments, indexed by OptionList.
struct PresetOptionRow {
    int code;
    std::array<ListAssignment, kOptionListCount> lists;

    const ListAssignment& operator[](OptionList list) const {
        return lists[static_cast<size_t>(list)];
    }
    // True for the audio-only presets, whose resolution list is R3 and whose four video lists
    // are disabled.
    bool video_lists_disabled() const;
    // Whether a list can be changed: all six, except the four video lists of an audio-only preset.
    bool enabled(OptionList list) const;
};

// The distinct contents of one kind of list, in name order (R1 first, ...).
std::span<const ListContents> list_contents(OptionList list);

// The six option lists of a preset code; nothing for a code outside the catalogue.
std::optional<PresetOptionRow> find_option_row(int code);

// The compact form of the assignment table, as stored: list numbers within their kind (0 for
// R1, ...) and preselected positions.
struct OptionChoiceData {
    uint8_t list;
    uint8_t preselected;
};
struct OptionRowData {
    int code;
    std::array<OptionChoiceData, kOptionListCount> choices;
};
std::span<const OptionRowData> option_rows_data();

}  // namespace velmora::presets
