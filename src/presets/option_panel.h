// Refilling the six option lists for a preset, as an ordered plan, and a plain model of the
// lists that follows their change event rules.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "presets/option_tables.h"

namespace velmora::presets {

// The text each option list shows, indexed by OptionList.
using ShownTexts = std::array<std::string, kOptionListCount>;

// The window's name of the combo box that holds a list ("bsSkinComboBox1", ...).
std::string_view combo_box_name(OptionList list);

// The order in which the refill clears and enables the lists: bsSkinComboBox1, 2, 3, 4, 9, 10.
inline constexpr std::array<OptionList, kOptionListCount> kComboBoxOrder = {
    OptionList::Resolution, OptionList::VideoBitrate, OptionList::AudioBitrate,
    OptionList::Aspect,     OptionList::FrameRate,    OptionList::SampleRate,
};

// What one step of the refill does to one list.
enum class ListStepKind {
    Clear,    // remove every entry; the shown text stays and no change event is raised
    Enable,   // enable the list
    Fill,     // append `items` in order; selects nothing
    Select,   // set the selected position to `position`; a change of the shown text raises the
              // list's change event right then, before the next step
    Disable,  // disable the list
};

// One step of the refill plan.
struct ListStep {
    ListStepKind kind;
    OptionList list;
    std::span<const std::string_view> items = {};  // Fill only
    int position = -1;                             // Select only
};

// `Button18Click`: the refill of the six option lists for a preset code, in the order the window
// must replay it: clear all six, enable all six, then fill and preselect each list in the order
// resolution, video bitrate, frame rate, audio bitrate, sample rate, aspect, and for an audio-only
// preset disable the resolution, video bitrate, aspect and frame rate lists. A code outside the
// catalogue gives only the clearing and enabling.
std::vector<ListStep> Button18Click(int preset_code);

// One option list as the user sees it.
struct OptionListState {
    std::vector<std::string_view> items;
    int position = -1;
    std::string shown_text;
    bool enabled = true;
};

// The six option lists without widgets: entries, selected position, shown text and enabled
// state, with the rule that a change event is due exactly when the shown text changes.
class OptionPanel {
  public:
    // Carries out one refill step; true when the list's shown text changed, so that its change
    // event is due now.
    bool apply(const ListStep& step);
    // Sets a list's position, as a user's pick or the restoring of a job's choice does; true when
    // the shown text changed. A position outside the entries (-1 included) blanks the text of a
    // list that holds entries and changes nothing on an empty list.
    bool set_position(OptionList list, int position);

    const OptionListState& list(OptionList list) const { return lists_[static_cast<size_t>(list)]; }
    int position(OptionList l) const { return list(l).position; }
    const std::string& shown_text(OptionList l) const { return list(l).shown_text; }
    bool enabled(OptionList l) const { return list(l).enabled; }
    ShownTexts shown_texts() const;
    // The six positions indexed by OptionList.
    std::array<int, kOptionListCount> positions() const;

  private:
    OptionListState& mutable_list(OptionList l) { return lists_[static_cast<size_t>(l)]; }

    std::array<OptionListState, kOptionListCount> lists_;
};

// Replays a refill plan on a panel and calls on_change(list) right after each step that changed
// a list's shown text.
void replay(std::span<const ListStep> plan, OptionPanel& panel,
            const std::function<void(OptionList)>& on_change);

}  // namespace velmora::presets
