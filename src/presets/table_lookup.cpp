// Look-ups by preset code in the compiled-in defaults and option list tables.
#include <algorithm>

#include "presets/defaults_table.h"
#include "presets/option_tables.h"

namespace velmora::presets {

const PresetDefaults* find_defaults(int code) {
    const auto rows = defaults_table();
    const auto it = std::lower_bound(rows.begin(), rows.end(), code,
                                     [](const PresetDefaults& row, int c) { return row.code < c; });
    if (it == rows.end() || it->code != code) {
        return nullptr;
    }
    return &*it;
}

std::optional<PresetOptionRow> find_option_row(int code) {
    const auto rows = option_rows_data();
    const auto it = std::lower_bound(rows.begin(), rows.end(), code,
                                     [](const OptionRowData& row, int c) { return row.code < c; });
    if (it == rows.end() || it->code != code) {
        return std::nullopt;
    }
    PresetOptionRow row{code, {}};
    for (OptionList list : kOptionLists) {
        const auto index = static_cast<size_t>(list);
        const OptionChoiceData choice = it->choices[index];
        row.lists[index] = {&list_contents(list)[choice.list], choice.preselected};
    }
    return row;
}

bool PresetOptionRow::video_lists_disabled() const {
    return (*this)[OptionList::Resolution].contents->name == "R3";
}

bool PresetOptionRow::enabled(OptionList list) const {
    return list == OptionList::AudioBitrate || list == OptionList::SampleRate ||
           !video_lists_disabled();
}

}  // namespace velmora::presets
