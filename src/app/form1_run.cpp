// The conversion run: task building, start, pause, resume, stop, progress and the after-done
// action.
#include <QFile>
#include <QFileInfo>

#include "app/form1.h"
#include "convert/after_done.h"
#include "convert/run_progress.h"
#include "convert/task_building.h"
#include "convert/task_list.h"
#include "jobs/job_list_view.h"
#include "media/encoder.h"
#include "settings/TForm5.h"

namespace velmora::app {
namespace {

QString to_q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

bool TForm1::button28Click() {
    encoder_.clear_tasks();
    if (lvFiles_->row_count() == 0) {
        return true;
    }
    std::vector<jobs::JobRowTexts> rows;
    for (int r = 0; r < lvFiles_->row_count(); ++r) {
        rows.push_back(lvFiles_->row_texts(r));
    }
    auto planned =
        convert::plan_tasks(rows, companion_, QFile::encodeName(FileOutPutPath_).toStdString());
    if (const auto* problem = std::get_if<convert::BuildProblem>(&planned)) {
        boxes_.error(this, kProgramTitle, to_q(problem->message));
        return false;
    }
    auto& tasks = std::get<std::vector<convert::PlannedTask>>(planned);
    if (const std::optional<convert::BuildProblem> problem =
            convert::load_planned_tasks(encoder_, tasks)) {
        boxes_.error(this, kProgramTitle, to_q(problem->message));
        return false;
    }
    return true;
}

void TForm1::btnStartClick() {
    encoder_.set_thread_priority(options_ != nullptr ? options_->thread_priority()
                                                     : media::TThreadPriority::tpNormal);
    if (!button28Click()) {
        return;
    }
    set_group_enabled(ControlGroup::Add, GroupState::Disabled);
    Button22Click();
    set_group_enabled(ControlGroup::Edit, GroupState::Disabled);
    set_group_enabled(ControlGroup::Clear, GroupState::Disabled);
    set_group_enabled(ControlGroup::Start, GroupState::Disabled);
    set_group_enabled(ControlGroup::Stop, GroupState::Enabled);
    set_group_enabled(ControlGroup::Pause, GroupState::Enabled);
    set_group_enabled(ControlGroup::Resume, GroupState::Disabled);
    show_pause_button(true);

    if (!closed_down_) {
        encoder_.on_progress([this](const media::TProgressInfo& info) { FFVCLProgress(info); });
        encoder_.on_terminate([this](const media::TTerminateInfo& info) { FFVCLTerminate(info); });
    }
    const QString threads =
        options_ != nullptr ? options_->thread_count_text() : QStringLiteral("1");
    encoder_.start(convert::simultaneous_tasks(threads.toStdString()));
}

void TForm1::btnStopClick() {
    set_group_enabled(ControlGroup::Stop, GroupState::Disabled);
    set_group_enabled(ControlGroup::Start, GroupState::Enabled, GroupReach::ToolbarButtonOnly);
    Button23Click();
    encoder_.stop_and_wait();
}

void TForm1::btnPauseClick() {
    set_group_enabled(ControlGroup::Pause, GroupState::Disabled);
    set_group_enabled(ControlGroup::Resume, GroupState::Enabled);
    encoder_.pause();
}

void TForm1::btnResumeClick() {
    set_group_enabled(ControlGroup::Pause, GroupState::Enabled);
    set_group_enabled(ControlGroup::Resume, GroupState::Disabled);
    encoder_.resume();
}

void TForm1::FFVCLProgress(const media::TProgressInfo& AProgressInfo) {
    const int row = AProgressInfo.TaskIndex;
    if (row < 0 || row >= lvFiles_->row_count()) {
        return;
    }
    const convert::ProgressCells cells = convert::progress_cells(AProgressInfo);
    lvFiles_->set_cell(row, jobs::JobColumn::Progress, to_q(cells.progress));
    if (cells.encode_fps) {
        lvFiles_->set_cell(row, jobs::JobColumn::EncodeFps, to_q(*cells.encode_fps));
    }
    lvFiles_->set_cell(row, jobs::JobColumn::CurrentTime, to_q(cells.current_time));
    lvFiles_->set_cell(row, jobs::JobColumn::ConvertedSize, to_q(cells.converted_size));
}

void TForm1::FFVCLTerminate(const media::TTerminateInfo& ATerminateInfo) {
    const int row = ATerminateInfo.TaskIndex;
    if (row >= 0) {
        if (ATerminateInfo.Finished && row < lvFiles_->row_count()) {
            lvFiles_->set_cell(row, jobs::JobColumn::Progress, QStringLiteral("100%"));
        }
    } else {
        set_group_enabled(ControlGroup::Edit, GroupState::Disabled);
        set_group_enabled(ControlGroup::Clear, GroupState::Enabled);
        set_group_enabled(ControlGroup::Stop, GroupState::Disabled);
        set_group_enabled(ControlGroup::Pause, GroupState::Disabled);
        set_group_enabled(ControlGroup::Resume, GroupState::Disabled);
        Button23Click();
        if (options_ != nullptr) {
            // The dialog's buttons as they are now: a change made during the run counts.
            convert::run_after_done(options_->after_done(),
                                    {[this] { Button20Click(); }, [this] { Button25Click(); },
                                     [this] { Button29Click(); }});
        }
    }
    if (ATerminateInfo.Exception) {
        boxes_.warning(this, kProgramTitle, to_q(ATerminateInfo.ExceptionMsg));
    }
}

void TForm1::Button25Click() {
    // No confirmation and no message: a refused power-off leaves the program running.
    desktop_.power_off();
}

void TForm1::Button29Click() {
    const QString sound = paths_.data_dir + QStringLiteral("/sounds/ring001.wav");
    if (QFileInfo::exists(sound)) {
        desktop_.play_sound_async(sound);
    }
}

}  // namespace velmora::app
