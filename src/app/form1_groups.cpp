// Control groups, and the handlers of the commands that other parts of the program fill.
#include <QAction>
#include <QLayout>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include "app/form1.h"
#include "app/widgets/option_combo_box.h"
#include "app/widgets/picture_combo_box.h"

namespace velmora::app {

void TForm1::register_groups() {
    groups_.add(ControlGroup::Add, tool_button(QStringLiteral("btnAdd")),
                MemberRole::ToolbarButton);
    groups_.add(ControlGroup::Add, action(QStringLiteral("N3")));
    groups_.add(ControlGroup::Add, action(QStringLiteral("N2222")));
    groups_.add(ControlGroup::Add, action(QStringLiteral("N21")));

    groups_.add(ControlGroup::Edit, tool_button(QStringLiteral("bsSkinButton7")),
                MemberRole::ToolbarButton);
    groups_.add(ControlGroup::Edit, action(QStringLiteral("N13")));
    groups_.add(ControlGroup::Edit, action(QStringLiteral("N26")));
    groups_.add(ControlGroup::Edit, findChild<QPushButton*>(QStringLiteral("bsSkinButton21")));

    groups_.add(ControlGroup::Clear, tool_button(QStringLiteral("bsSkinButton8")),
                MemberRole::ToolbarButton);
    groups_.add(ControlGroup::Clear, action(QStringLiteral("N14")));

    groups_.add(ControlGroup::Start, tool_button(QStringLiteral("btnStart")),
                MemberRole::ToolbarButton);
    groups_.add(ControlGroup::Start, action(QStringLiteral("N15")));

    groups_.add(ControlGroup::Stop, tool_button(QStringLiteral("btnStop")),
                MemberRole::ToolbarButton);
    groups_.add(ControlGroup::Stop, action(QStringLiteral("N16")));

    groups_.add(ControlGroup::Pause, tool_button(QStringLiteral("btnPause")),
                MemberRole::ToolbarButton);
    groups_.add(ControlGroup::Pause, action(QStringLiteral("N17")));

    groups_.add(ControlGroup::Resume, tool_button(QStringLiteral("btnResume")),
                MemberRole::ToolbarButton);
    groups_.add(ControlGroup::Resume, action(QStringLiteral("N18")));

    for (OptionComboBox* list : option_boxes_) {
        groups_.add(ControlGroup::Preset, list);
    }
    groups_.add(ControlGroup::Preset, category_box_);
    groups_.add(ControlGroup::Preset, format_box_);
    groups_.add(ControlGroup::Preset, browse_button_);

    // The window opens with an empty list: only adding and the preset controls are on.
    for (ControlGroup group : {ControlGroup::Edit, ControlGroup::Clear, ControlGroup::Start,
                               ControlGroup::Stop, ControlGroup::Pause, ControlGroup::Resume}) {
        set_group_enabled(group, GroupState::Disabled);
    }
    set_group_enabled(ControlGroup::Add, GroupState::Enabled);
    set_group_enabled(ControlGroup::Preset, GroupState::Enabled);
}

void TForm1::set_group_enabled(ControlGroup group, GroupState state, GroupReach reach) {
    groups_.set(group, state, reach);
}

void TForm1::Button22Click() {
    set_group_enabled(ControlGroup::Preset, GroupState::Disabled);
}

void TForm1::Button23Click() {
    set_group_enabled(ControlGroup::Preset, GroupState::Enabled);
}

void TForm1::show_pause_button(bool pause_visible) {
    pause_place_->setVisible(pause_visible);
    resume_place_->setVisible(!pause_visible);
    // Lay the toolbar out now, so the swap shows at once.
    tool_bar_->layout()->activate();
}

void TForm1::PauseButtonClick() {
    btnPauseClick();
    show_pause_button(false);
}

void TForm1::ResumeButtonClick() {
    btnResumeClick();
    show_pause_button(true);
}

void TForm1::N26Click() {
    bsSkinButton21Click();
}

}  // namespace velmora::app
