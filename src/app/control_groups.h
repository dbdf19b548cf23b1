// The sets of controls that the main window enables and disables together.
#pragma once

#include <QList>
#include <QPointer>
#include <array>

class QAction;
class QWidget;

namespace velmora::app {

enum class ControlGroup { Add, Edit, Clear, Start, Stop, Pause, Resume, Preset };
inline constexpr int kControlGroupCount = 8;

enum class GroupState { Enabled, Disabled };

// Which members a switch reaches: the whole group, or only its toolbar button (stopping a run
// turns the toolbar "开始" back on while the menu item "开始转换" stays off).
enum class GroupReach { Whole, ToolbarButtonOnly };

// Whether a member is the group's toolbar button.
enum class MemberRole { ToolbarButton, Other };

// The members of each group and the state each group was last switched to. Switching a group
// is the only way its members change state.
class ControlGroups {
  public:
    void add(ControlGroup group, QWidget* member, MemberRole role = MemberRole::Other);
    void add(ControlGroup group, QAction* member);

    // Enables or disables the group's members.
    void set(ControlGroup group, GroupState state, GroupReach reach = GroupReach::Whole);
    // The state the whole group was last switched to.
    GroupState state(ControlGroup group) const;

  private:
    struct Members {
        QList<QPointer<QWidget>> toolbar_buttons;
        QList<QPointer<QWidget>> widgets;
        QList<QPointer<QAction>> actions;
        GroupState state = GroupState::Enabled;
    };
    Members& members(ControlGroup group) { return groups_[static_cast<size_t>(group)]; }

    std::array<Members, kControlGroupCount> groups_;
};

}  // namespace velmora::app
