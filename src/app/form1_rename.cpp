// Renaming the selected job's output: the in-place editor `edt` over its output name cell.
#include <QMetaObject>

#include "app/form1.h"
#include "app/widgets/exit_line_edit.h"
#include "app/widgets/pass_focus_line_edit.h"
#include "app/widgets/picture_combo_box.h"
#include "jobs/job_list_view.h"
#include "presets/catalogue.h"
#include "presets/output_naming.h"

namespace velmora::app {
namespace {

const QString kNoticeTitle = QStringLiteral("提示");

// Puts the editor over the output name cell of a row with that name, without its extension,
// and gives it the focus.
void open_editor(jobs::JobListView& list, QLineEdit& editor, int row) {
    const int column = jobs::OutputFile + 1;  // the caption column comes first
    list.scrollTo(list.model()->index(row, column));
    editor.setGeometry(list.columnViewportPosition(column), list.rowViewportPosition(row),
                       list.columnWidth(column), list.rowHeight(row));
    const std::string name = list.cell(row, jobs::OutputFile).toStdString();
    editor.setText(QString::fromStdString(presets::replace_extension(name, "")));
    editor.show();
    editor.raise();
    editor.setFocus(Qt::OtherFocusReason);
    editor.selectAll();
}

}  // namespace

void TForm1::bsSkinButton21Click() {
    const int row = lvFiles_->selected_index();
    if (row < 0) {
        boxes_.information(this, kNoticeTitle, QStringLiteral("请先选中您需要重命名的项目！"));
        return;
    }
    open_editor(*lvFiles_, *edt_, row);
}

void TForm1::lvFilesDblClick() {
    const int row = lvFiles_->selected_index();
    if (row >= 0) {
        open_editor(*lvFiles_, *edt_, row);
    }
}

QLineEdit* TForm1::edt() const {
    return edt_;
}

QString TForm1::refusal_of_output_name(int row, const QString& output_file) const {
    const std::string name = output_file.toStdString();
    if (name.find(presets::kPathSeparator) != std::string::npos) {
        return QStringLiteral("输出文件名中不能包含“/”，请重新输入！");
    }
    const std::string path = presets::join_output_path(folder_edit_->text().toStdString(), name);
    if (presets::same_path(path, lvFiles_->caption(row).toStdString())) {
        return QStringLiteral("输出文件不能是它的输入文件，请重新输入！");
    }
    for (int other = 0; other < lvFiles_->row_count(); ++other) {
        if (other != row && lvFiles_->cell(other, jobs::OutputFile) == output_file) {
            return QStringLiteral("列表中的其他项目已使用这个输出文件名，请重新输入！");
        }
    }
    return {};
}

void TForm1::edtExit() {
    if (edt_->isHidden()) {
        return;
    }
    const int format = format_box_->item_index();
    const std::string ext =
        format >= 0 ? presets::format_extension(format_box_->item_caption(format).toStdString())
                    : std::string();
    const QString typed = edt_->text();
    if (typed.isEmpty()) {
        // The editor stays: leaving it again after typing a name completes the rename.
        return;
    }
    const int row = lvFiles_->selected_index();
    if (row < 0) {
        edt_->hide();
        return;
    }
    const QString output_file = typed + QString::fromStdString(ext);
    const QString refusal = refusal_of_output_name(row, output_file);
    if (!refusal.isEmpty()) {
        // Two jobs writing one file, or a job writing over its own input, would lose data: the
        // editor stays open with the typed name for another try.
        boxes_.information(this, kNoticeTitle, refusal);
        QMetaObject::invokeMethod(
            edt_, [this] { edt_->setFocus(Qt::OtherFocusReason); }, Qt::QueuedConnection);
        return;
    }
    lvFiles_->set_cell(row, jobs::OutputFile, output_file);
    if (static_cast<size_t>(row) < companion_.size()) {
        companion_.at(static_cast<size_t>(row)).OO1.FileName = presets::join_output_path(
            folder_edit_->text().toStdString(), output_file.toStdString());
    }
    // Hiding the focused editor moves the focus on, which reports one more exit: it finds the
    // editor hidden and ends at once.
    edt_->hide();
}

}  // namespace velmora::app
