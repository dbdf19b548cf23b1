// Adding input files: the three add commands, the open-file filter, drops on the job list and
// files named on the command line.
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QTimer>

#include "app/form1.h"
#include "app/job_list_drop.h"
#include "convert/job_from_file.h"
#include "jobs/job_list_view.h"
#include "jobs/open_file_filter.h"
#include "media/encoder.h"

namespace velmora::app {
namespace {

const QString kOpenFileTitle = QStringLiteral("打开文件");
const QString kChooseDirectoryTitle = QStringLiteral("选择目录");
const QString kNoUsableFiles = QStringLiteral("在该目录没有发现可以用的视频或音频文件！");
const QString kHintTitle = QStringLiteral("提示");

std::string to_std(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString to_q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString path_to_q(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

bool file_exists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

}  // namespace

void TForm1::connect_adding_controls() {
    add_dialogs_ = AddDialogs::native();
    auto accepting = [this] { return group_state(ControlGroup::Add) == GroupState::Enabled; };
    auto dropped = [this](const QStringList& paths) {
        // Added after the drop returns, so the program the files came from is not held up.
        QTimer::singleShot(0, this, [this, paths] { add_named_paths(paths); });
    };
    // The list takes drops on its viewport; while it is empty the panel over it takes them.
    lvFiles_->setAcceptDrops(true);
    new JobListDrop(*lvFiles_->viewport(), accepting, dropped);
    new JobListDrop(*empty_list_panel_, accepting, dropped);
}

void TForm1::set_add_dialogs(AddDialogs dialogs) {
    add_dialogs_ = std::move(dialogs);
}

void TForm1::Button21Click() {
    open_file_filters_ = jobs::qt_name_filters();
}

bool TForm1::load_engine_libraries() {
    if (encoder_.libraries_loaded()) {
        return true;
    }
    std::string error;
    if (!encoder_.load_libraries(to_std(paths_.data_dir + QStringLiteral("/LibAV")), error)) {
        append_log(to_q(error));
        return false;
    }
    return true;
}

convert::AddOutcome TForm1::add_one_file(const QString& file) {
    convert::JobFromFileSteps steps;
    steps.log = [this](const std::string& line) { append_log(to_q(line)); };
    steps.apply_preset = [this](const std::string& added) {
        T_Movie_PLayer_FileName = path_to_q(added);
        set_add_file_name(path_to_q(added));
        Button5Click(DefaultsTarget::ValuesOnly);
        Button13Click();
        return preset_values();
    };
    const convert::AddedJob job = convert::job_from_file(encoder_, to_std(file), steps);
    if (job.outcome != convert::AddOutcome::Added) {
        return job.outcome;
    }

    set_empty_list_panel_visible(false);
    QStringList columns;
    for (const std::string& text :
         convert::job_row_columns(job, current_preset_code(), to_std(current_option_indices()))) {
        columns << to_q(text);
    }
    lvFiles_->append_row(path_to_q(job.input.FileName), columns);
    set_group_enabled(ControlGroup::Edit, GroupState::Enabled);
    set_group_enabled(ControlGroup::Clear, GroupState::Enabled);
    set_group_enabled(ControlGroup::Start, GroupState::Enabled);
    companion_.take_first_free(job.input, job.output);
    return convert::AddOutcome::Added;
}

void TForm1::select_last_row() {
    if (lvFiles_->row_count() > 0) {
        lvFiles_->select_row(lvFiles_->row_count() - 1);
        focus_job_list();
    }
}

bool TForm1::add_files_last_first(const QStringList& files) {
    for (qsizetype i = files.size() - 1; i >= 0; --i) {
        if (!file_exists(files[i])) {
            return false;
        }
        if (add_one_file(files[i]) == convert::AddOutcome::Stopped) {
            return false;
        }
    }
    return true;
}

void TForm1::btnAddClick() {
    Button6Click();
    if (!load_engine_libraries()) {
        return;
    }
    const std::optional<QString> file =
        add_dialogs_.open_file(this, kOpenFileTitle, open_file_filters_);
    if (!file || !file_exists(*file)) {
        return;
    }
    if (add_one_file(*file) != convert::AddOutcome::Added) {
        return;
    }
    select_last_row();
}

void TForm1::Button8Click() {
    Button6Click();
    if (!load_engine_libraries()) {
        return;
    }
    const std::optional<QStringList> files =
        add_dialogs_.open_files(this, kOpenFileTitle, open_file_filters_);
    if (!files || files->isEmpty() || !file_exists(files->first())) {
        return;
    }
    add_several_files(*files);
}

void TForm1::add_several_files(const QStringList& files) {
    if (add_files_last_first(files)) {
        select_last_row();
    }
}

void TForm1::Button12Click() {
    const int rows_before = lvFiles_->row_count();
    Button6Click();
    if (!load_engine_libraries()) {
        return;
    }
    const std::optional<QString> folder =
        add_dialogs_.choose_directory(this, kChooseDirectoryTitle);
    if (!folder || folder->isEmpty() || !QFileInfo(*folder).isDir()) {
        return;
    }
    add_directory(*folder, rows_before);
}

void TForm1::add_directory(const QString& folder, int rows_before) {
    QStringList files;
    for (const std::string& path : jobs::GetFilenames(to_std(folder), "*.*")) {
        files << path_to_q(path);
    }
    if (!add_files_last_first(files)) {
        return;
    }
    select_last_row();
    if (lvFiles_->row_count() <= rows_before) {
        boxes_.information(this, kHintTitle, kNoUsableFiles);
    }
}

void TForm1::add_named_paths(const QStringList& named_paths) {
    if (group_state(ControlGroup::Add) != GroupState::Enabled) {
        return;
    }
    QStringList files;
    QStringList folders;
    for (const QString& path : named_paths) {
        const QFileInfo info(path);
        (info.isDir() ? folders : files) << info.absoluteFilePath();
    }
    if (!files.isEmpty()) {
        Button6Click();
        if (!load_engine_libraries()) {
            return;
        }
        add_several_files(files);
    }
    for (const QString& folder : folders) {
        const int rows_before = lvFiles_->row_count();
        Button6Click();
        if (!load_engine_libraries()) {
            return;
        }
        add_directory(folder, rows_before);
    }
}

}  // namespace velmora::app
