#include "app/control_groups.h"

#include <QAction>
#include <QWidget>

namespace velmora::app {

void ControlGroups::add(ControlGroup group, QWidget* member, MemberRole role) {
    auto& list =
        role == MemberRole::ToolbarButton ? members(group).toolbar_buttons : members(group).widgets;
    list.append(member);
    member->setEnabled(members(group).state == GroupState::Enabled);
}

void ControlGroups::add(ControlGroup group, QAction* member) {
    members(group).actions.append(member);
    member->setEnabled(members(group).state == GroupState::Enabled);
}

void ControlGroups::set(ControlGroup group, GroupState state, GroupReach reach) {
    Members& list = members(group);
    const bool on = state == GroupState::Enabled;
    for (const auto& button : list.toolbar_buttons) {
        if (button) {
            button->setEnabled(on);
        }
    }
    if (reach == GroupReach::ToolbarButtonOnly) {
        return;
    }
    list.state = state;
    for (const auto& widget : list.widgets) {
        if (widget) {
            widget->setEnabled(on);
        }
    }
    for (const auto& action : list.actions) {
        if (action) {
            action->setEnabled(on);
        }
    }
}

GroupState ControlGroups::state(ControlGroup group) const {
    return groups_[static_cast<size_t>(group)].state;
}

}  // namespace velmora::app
