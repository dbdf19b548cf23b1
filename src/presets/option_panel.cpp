// The refill plan of the option lists and the plain model of the six lists.
#include "presets/option_panel.h"

namespace velmora::presets {

std::string_view combo_box_name(OptionList list) {
    switch (list) {
        case OptionList::Resolution:
            return "bsSkinComboBox1";
        case OptionList::VideoBitrate:
            return "bsSkinComboBox2";
        case OptionList::FrameRate:
            return "bsSkinComboBox9";
        case OptionList::AudioBitrate:
            return "bsSkinComboBox3";
        case OptionList::SampleRate:
            return "bsSkinComboBox10";
        case OptionList::Aspect:
            return "bsSkinComboBox4";
    }
    return {};
}

std::vector<ListStep> Button18Click(int preset_code) {
    std::vector<ListStep> plan;
    for (OptionList list : kComboBoxOrder) {
        plan.push_back({ListStepKind::Clear, list});
    }
    for (OptionList list : kComboBoxOrder) {
        plan.push_back({ListStepKind::Enable, list});
    }
    const std::optional<PresetOptionRow> row = find_option_row(preset_code);
    if (!row) {
        return plan;
    }
    for (OptionList list : kOptionLists) {
        const ListAssignment& assignment = (*row)[list];
        plan.push_back({ListStepKind::Fill, list, assignment.contents->items});
        plan.push_back({ListStepKind::Select, list, {}, assignment.preselected});
    }
    if (row->video_lists_disabled()) {
        for (OptionList list : {OptionList::Resolution, OptionList::VideoBitrate,
                                OptionList::Aspect, OptionList::FrameRate}) {
            plan.push_back({ListStepKind::Disable, list});
        }
    }
    return plan;
}

bool OptionPanel::apply(const ListStep& step) {
    OptionListState& state = mutable_list(step.list);
    switch (step.kind) {
        case ListStepKind::Clear:
            state.items.clear();
            state.position = -1;
            return false;
        case ListStepKind::Enable:
            state.enabled = true;
            return false;
        case ListStepKind::Disable:
            state.enabled = false;
            return false;
        case ListStepKind::Fill:
            state.items.insert(state.items.end(), step.items.begin(), step.items.end());
            return false;
        case ListStepKind::Select:
            return set_position(step.list, step.position);
    }
    return false;
}

bool OptionPanel::set_position(OptionList list, int position) {
    OptionListState& state = mutable_list(list);
    if (state.items.empty()) {
        return false;
    }
    const bool inside = position >= 0 && position < static_cast<int>(state.items.size());
    state.position = inside ? position : -1;
    std::string text = inside ? std::string(state.items[static_cast<size_t>(position)]) : "";
    if (text == state.shown_text) {
        return false;
    }
    state.shown_text = std::move(text);
    return true;
}

ShownTexts OptionPanel::shown_texts() const {
    ShownTexts texts;
    for (size_t i = 0; i < lists_.size(); ++i) {
        texts[i] = lists_[i].shown_text;
    }
    return texts;
}

std::array<int, kOptionListCount> OptionPanel::positions() const {
    std::array<int, kOptionListCount> result{};
    for (size_t i = 0; i < lists_.size(); ++i) {
        result[i] = lists_[i].position;
    }
    return result;
}

void replay(std::span<const ListStep> plan, OptionPanel& panel,
            const std::function<void(OptionList)>& on_change) {
    for (const ListStep& step : plan) {
        if (panel.apply(step) && on_change) {
            on_change(step.list);
        }
    }
}

}  // namespace velmora::presets
