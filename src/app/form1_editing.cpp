// Editing the job list: removing the selected job, clearing the list, moving a job up or down.
#include <QSlider>

#include "app/form1.h"
#include "jobs/job_columns.h"
#include "jobs/job_list_view.h"
#include "media/encoder.h"
#include "media/player.h"

namespace velmora::app {
namespace {

const QString kHintTitle = QStringLiteral("提示");
const QString kNothingToRemove = QStringLiteral("请先选择您需要删除的项目！");

}  // namespace

void TForm1::set_editing_controls(int rows) {
    const GroupState state = rows > 0 ? GroupState::Enabled : GroupState::Disabled;
    set_group_enabled(ControlGroup::Edit, state);
    set_group_enabled(ControlGroup::Clear, state);
    set_group_enabled(ControlGroup::Start, state);
}

void TForm1::show_empty_list() {
    set_empty_list_panel_visible(true);
    FFPlayer_->Stop(media::StopMode::wait_for_stop);
    seek_slider_->setValue(0);
}

void TForm1::btnRemoveClick() {
    const int k = lvFiles_->selected_index();
    if (k < 0) {
        boxes_.information(this, kHintTitle, kNothingToRemove);
        return;
    }
    const int n = lvFiles_->cell(k, jobs::JobColumn::TaskNumber).toInt();
    encoder_.remove_task(n - 1);
    lvFiles_->delete_row(k);
    companion_.remove(static_cast<std::size_t>(k));
    for (int row = 0; row < lvFiles_->row_count(); ++row) {
        const int number = lvFiles_->cell(row, jobs::JobColumn::TaskNumber).toInt();
        if (number > n) {
            lvFiles_->set_cell(row, jobs::JobColumn::TaskNumber, QString::number(number - 1));
        }
    }
    set_editing_controls(lvFiles_->row_count());
    focus_job_list();
    if (lvFiles_->row_count() > 0) {
        lvFiles_->select_row(0);
        focus_job_list();
    } else {
        show_empty_list();
    }
}

void TForm1::btnClearClick() {
    encoder_.clear_tasks();
    lvFiles_->clear_rows();
    set_group_enabled(ControlGroup::Add, GroupState::Enabled);
    set_editing_controls(0);
    Button15Click();
    show_empty_list();
}

void TForm1::move_selected_row(int offset) {
    const int k = lvFiles_->selected_index();
    const int m = k + offset;
    if (k < 0 || m < 0 || m >= lvFiles_->row_count()) {
        return;
    }
    // The run's progress reaches rows by their place: a job moved now would show another
    // job's progress, so the order holds still while the encoder runs.
    if (encoder_.running()) {
        return;
    }
    lvFiles_->setUpdatesEnabled(false);
    lvFiles_->exchange_rows(k, m);
    companion_.exchange(static_cast<std::size_t>(k), static_cast<std::size_t>(m));
    lvFiles_->setUpdatesEnabled(true);
    lvFiles_->select_row(m);
    focus_job_list();
}

void TForm1::bsSkinButton3Click() {
    move_selected_row(-1);
}

void TForm1::bsSkinButton4Click() {
    move_selected_row(+1);
}

}  // namespace velmora::app
