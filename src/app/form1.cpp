#include "app/form1.h"

#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>

#include "app/form2.h"
#include "jobs/job_list_view.h"
#include "media/encoder.h"
#include "media/player.h"
#include "settings/TForm5.h"
#include "settings/folder_dialog.h"

namespace velmora::app {
namespace {

std::filesystem::path to_path(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

}  // namespace

TForm1::TForm1(const platform::AppPaths& paths, platform::DesktopServices& desktop,
               platform::MessageBoxes& boxes, settings::FolderDialog& folder_dialog,
               media::Encoder& encoder, QWidget* parent)
    : QMainWindow(parent),
      paths_(paths),
      desktop_(desktop),
      boxes_(boxes),
      folder_dialog_(folder_dialog),
      encoder_(encoder),
      ini_(to_path(paths.settings_file)),
      bsSkinData1_(settings::SkinData::main_skins()),
      bsSkinData2_(settings::SkinData::second_skins()) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(kProgramTitle);
    // A single-border window: minimize and close only, no maximize, no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setContextMenuPolicy(Qt::NoContextMenu);
    build_menus();
    build_toolbar();
    build_body();
    register_groups();
    connect_adding_controls();
    connect_preview_controls();
    apply_second_skin();
    run_start_up_steps();
    fix_client_size();
}

TForm1::~TForm1() {
    close_down();
}

void TForm1::run_start_up_steps() {
    try {
        Button15Click();
        Button17Click();
        Button21Click();
        Button3Click();
        Button2Click();
    } catch (const settings::SettingsWriteError& error) {
        // The settings file cannot be written: the remaining start-up steps are skipped.
        boxes_.error(this, kProgramTitle, QString::fromUtf8(error.what()));
    }
}

void TForm1::attach_dialogs(TForm2& about, settings::TForm5& options) {
    about_ = &about;
    options_ = &options;
    bsSkinData1_.apply_to(about);
    bsSkinData1_.apply_to(options);
    // The dialog read Show_Preview before it was attached; from now on it switches at once.
    encoder_.set_preview(options.preview_checked());
    connect(&options, &settings::TForm5::previewSwitched, this,
            [this](bool on) { encoder_.set_preview(on); });
}

void TForm1::btnOptionClick() {
    if (options_ != nullptr) {
        options_->exec();
    }
}

void TForm1::AboutClick() {
    if (about_ != nullptr) {
        about_->exec();
    }
}

void TForm1::Button15Click() {
    companion_.mark_all_free();
}

void TForm1::append_log(const QString& line) {
    log_->appendPlainText(line);
}

QString TForm1::log_text() const {
    return log_->toPlainText();
}

void TForm1::focus_job_list() {
    lvFiles_->setFocus(Qt::OtherFocusReason);
}

void TForm1::close_down() {
    if (closed_down_) {
        return;
    }
    closed_down_ = true;
    // No handler of the media objects may touch the closing window: detach them first, then
    // stop the encoder and wait until its running tasks have ended.
    detach_preview();
    encoder_.detach_notifications();
    encoder_.stop_and_wait();
}

void TForm1::closeEvent(QCloseEvent* event) {
    close_down();
    event->accept();
}

void TForm1::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    FormWindowPosChanged();
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (centred_) {
        return;
    }
    centred_ = true;
    fix_client_size();
    if (const QScreen* shown_on = screen() ? screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(shown_on->availableGeometry().center());
        move(frame.topLeft());
    }
}

}  // namespace velmora::app
