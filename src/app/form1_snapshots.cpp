// Snapshots of the previewed picture, and the settings button's menu: the snapshot folder and
// the picture type.
#include <QAction>
#include <QActionGroup>
#include <QCursor>
#include <QEvent>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

#include "app/form1.h"
#include "media/player.h"
#include "preview/snapshot_taking.h"
#include "settings/folder_dialog.h"
#include "settings/settings_rules.h"

namespace velmora::app {
namespace {

std::string to_std(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString path_to_q(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The submenu item of each picture type.
QString type_item_name(settings::PictureType type) {
    switch (type) {
        case settings::PictureType::Bmp:
            return QStringLiteral("BMP1");
        case settings::PictureType::Jpg:
            return QStringLiteral("JPG1");
        case settings::PictureType::Gif:
            return QStringLiteral("GIF1");
        case settings::PictureType::Png:
            return QStringLiteral("PNG1");
    }
    return QStringLiteral("BMP1");
}

// The writers' type for a stored type.
preview::PictureType writer_type(settings::PictureType type) {
    return preview::picture_type_from_setting(settings::picture_type_text(type))
        .value_or(preview::PictureType::BMP);
}

// Shows the menu when the left button is pressed on the settings button.
class PressHook final : public QObject {
  public:
    PressHook(QPushButton& button, std::function<void()> on_left_press)
        : QObject(&button), on_left_press_(std::move(on_left_press)) {
        button.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if ((event->type() == QEvent::MouseButtonPress ||
             event->type() == QEvent::MouseButtonDblClick) &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            on_left_press_();
            // The menu takes the mouse from here; the button never sees the release.
            return true;
        }
        return false;
    }

  private:
    std::function<void()> on_left_press_;
};

}  // namespace

void TForm1::connect_snapshot_controls() {
    auto* snapshot = findChild<QPushButton*>(QStringLiteral("bsSkinButton22"));
    connect(snapshot, &QPushButton::clicked, this, &TForm1::bsSkinButton22Click);

    auto* settings_button = findChild<QPushButton*>(QStringLiteral("bsSkinButton23"));
    // A click on the button marks the stored type; since the menu opens at the press, before
    // any release could make a click, the press does both.
    new PressHook(*settings_button, [this] {
        bsSkinButton23Click();
        bsSkinButton23MouseDown();
    });
    connect(settings_button, &QPushButton::clicked, this, &TForm1::bsSkinButton23Click);
    settings_button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(settings_button, &QWidget::customContextMenuRequested, this,
            [this, settings_button](const QPoint& at) {
                snapshot_menu_->popup(settings_button->mapToGlobal(at));
            });

    connect(snapshot_item(QStringLiteral("MenuItem1")), &QAction::triggered, this,
            &TForm1::MenuItem1Click);
    connect(snapshot_item(QStringLiteral("MenuItem2")), &QAction::triggered, this,
            &TForm1::MenuItem2Click);
    connect(snapshot_item(QStringLiteral("BMP1")), &QAction::triggered, this, &TForm1::BMP1Click);
    connect(snapshot_item(QStringLiteral("JPG1")), &QAction::triggered, this, &TForm1::JPG1Click);
    connect(snapshot_item(QStringLiteral("GIF1")), &QAction::triggered, this, &TForm1::GIF1Click);
    connect(snapshot_item(QStringLiteral("PNG1")), &QAction::triggered, this, &TForm1::PNG1Click);
}

QAction* TForm1::snapshot_item(const QString& object_name) const {
    return snapshot_menu_->findChild<QAction*>(object_name);
}

void TForm1::mark_picture_type(settings::PictureType type) {
    marked_picture_type_ = type;
    snapshot_item(type_item_name(type))->setChecked(true);
}

std::string TForm1::resolve_snapshot_folder() {
    return settings::read_snapshot_folder(ini_, to_std(paths_.default_snapshot_folder));
}

settings::PictureType TForm1::resolve_picture_type() {
    const settings::PictureType type = settings::read_picture_type(ini_);
    mark_picture_type(type);
    return type;
}

void TForm1::bsSkinButton22Click() {
    const media::RgbPicture frame = FFPlayer_->CurrentFrame();
    preview::RgbImage picture{frame.width, frame.height, frame.rgb};
    try {
        const preview::SnapshotResult result =
            preview::take_snapshot(picture, to_std(T_Movie_PLayer_FileName),
                                   {[this] { return resolve_snapshot_folder(); },
                                    [this] { return writer_type(resolve_picture_type()); }});
        if (result.outcome == preview::SnapshotOutcome::WriteFailed) {
            boxes_.error(this, kProgramTitle, path_to_q(result.error));
        }
    } catch (const settings::SettingsWriteError& error) {
        boxes_.error(this, kProgramTitle, QString::fromUtf8(error.what()));
    }
}

void TForm1::bsSkinButton23MouseDown() {
    snapshot_menu_->popup(QCursor::pos());
}

void TForm1::bsSkinButton23Click() {
    try {
        resolve_picture_type();
    } catch (const settings::SettingsWriteError& error) {
        boxes_.error(this, kProgramTitle, QString::fromUtf8(error.what()));
    }
}

void TForm1::MenuItem1Click() {
    try {
        desktop_.open_url(QUrl::fromLocalFile(path_to_q(resolve_snapshot_folder())));
    } catch (const settings::SettingsWriteError& error) {
        boxes_.error(this, kProgramTitle, QString::fromUtf8(error.what()));
    }
}

void TForm1::MenuItem2Click() {
    const std::optional<QString> chosen = folder_dialog_.exec(this);
    if (!chosen) {
        return;
    }
    try {
        settings::save_snapshot_folder(ini_, to_std(*chosen));
    } catch (const settings::SettingsWriteError& error) {
        boxes_.error(this, kProgramTitle, QString::fromUtf8(error.what()));
    }
}

void TForm1::choose_picture_type(settings::PictureType type) {
    try {
        settings::write_picture_type(ini_, type);
        mark_picture_type(type);
    } catch (const settings::SettingsWriteError& error) {
        // The type was not stored: the mark goes back to where it was.
        mark_picture_type(marked_picture_type_);
        boxes_.error(this, kProgramTitle, QString::fromUtf8(error.what()));
    }
}

void TForm1::BMP1Click() {
    choose_picture_type(settings::PictureType::Bmp);
}

void TForm1::JPG1Click() {
    choose_picture_type(settings::PictureType::Jpg);
}

void TForm1::GIF1Click() {
    choose_picture_type(settings::PictureType::Gif);
}

void TForm1::PNG1Click() {
    choose_picture_type(settings::PictureType::Png);
}

}  // namespace velmora::app
