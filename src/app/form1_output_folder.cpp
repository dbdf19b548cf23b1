// The output folder row and the skins.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QToolBar>

#include "app/form1.h"
#include "app/widgets/option_combo_box.h"
#include "app/widgets/pass_focus_line_edit.h"
#include "jobs/job_list_view.h"
#include "settings/folder_dialog.h"
#include "settings/settings_rules.h"

namespace velmora::app {
namespace {

std::string to_std(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

}  // namespace

void TForm1::set_output_folder(const QString& folder) {
    FileOutPutPath_ = folder;
    folder_edit_->setText(folder);
    folder_edit_->setCursorPosition(0);
}

void TForm1::Button17Click() {
    const std::string folder =
        settings::read_output_folder(ini_, to_std(paths_.default_output_folder));
    set_output_folder(QFile::decodeName(QByteArray::fromStdString(folder)));
}

void TForm1::Button16Click() {
    settings::save_output_folder(ini_, to_std(FileOutPutPath_));
}

void TForm1::bsSkinButton5Click() {
    const std::optional<QString> chosen = folder_dialog_.exec(this);
    if (!chosen || !QFileInfo(*chosen).isDir()) {
        return;
    }
    set_output_folder(*chosen);
    try {
        Button16Click();
    } catch (const settings::SettingsWriteError& error) {
        // The new folder stays in use for this run of the program, unsaved.
        boxes_.error(this, kProgramTitle, QString::fromUtf8(error.what()));
        return;
    }
    focus_job_list();
}

void TForm1::Button20Click() {
    desktop_.open_url(QUrl::fromLocalFile(folder_edit_->text()));
}

void TForm1::bsSkinButton6Click() {
    Button20Click();
    focus_job_list();
}

void TForm1::Button3Click() {
    bsSkinData1_.set_skin_index(settings::read_skin_index(ini_));
    bsSkinData1_.apply_to(*this);
}

void TForm1::apply_second_skin() {
    bsSkinData2_.apply_to(*tool_bar_);
    for (OptionComboBox* list : option_boxes_) {
        bsSkinData2_.apply_to(*list);
    }
}

}  // namespace velmora::app
