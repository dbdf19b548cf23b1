// The preview pane: the player that follows the selected job, its buttons, the seek slider and
// the player's events.
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>
#include <functional>
#include <utility>

#include "app/form1.h"
#include "jobs/job_columns.h"
#include "jobs/job_list_view.h"
#include "media/encoder.h"
#include "media/notification_queue.h"
#include "media/player.h"
#include "preview/screen_panel.h"

namespace velmora::app {
namespace {

const QString kDragDown = QStringLiteral("Down");
const QString kDragUp = QStringLiteral("UP");
constexpr int kSliderStep = 5;

std::string to_std(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString to_q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Runs a handler for the mouse presses and releases a widget receives, before the widget
// itself handles them; the handler returns true to keep the event from the widget.
class MouseHook final : public QObject {
  public:
    using Handler = std::function<bool(QEvent::Type, QMouseEvent&)>;

    MouseHook(QWidget& watched, Handler handler) : QObject(&watched), handler_(std::move(handler)) {
        watched.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
            type == QEvent::MouseButtonDblClick) {
            return handler_(type, *static_cast<QMouseEvent*>(event));
        }
        return false;
    }

  private:
    Handler handler_;
};

// The style option that describes the slider as it is drawn now.
QStyleOptionSlider slider_style_option(const QSlider& slider) {
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = slider.sliderPosition();
    option.sliderValue = slider.value();
    return option;
}

// The slider value under a point of the slider's groove.
int slider_value_at(const QSlider& slider, const QPoint& point) {
    const QStyleOptionSlider option = slider_style_option(slider);
    const QRect groove = slider.style()->subControlRect(QStyle::CC_Slider, &option,
                                                        QStyle::SC_SliderGroove, &slider);
    const QRect handle = slider.style()->subControlRect(QStyle::CC_Slider, &option,
                                                        QStyle::SC_SliderHandle, &slider);
    const int span = groove.width() - handle.width();
    const int offset = point.x() - groove.x() - handle.width() / 2;
    return QStyle::sliderValueFromPosition(slider.minimum(), slider.maximum(), offset, span,
                                           option.upsideDown);
}

// Whether a point lies on the slider's handle.
bool on_slider_handle(const QSlider& slider, const QPoint& point) {
    const QStyleOptionSlider option = slider_style_option(slider);
    return slider.style()
        ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider)
        .contains(point);
}

// The name of a player state as the log shows it.
QString state_name(media::TPlayState state) {
    switch (state) {
        case media::TPlayState::psPlay:
            return QStringLiteral("Play");
        case media::TPlayState::psPause:
            return QStringLiteral("Pause");
        case media::TPlayState::psResume:
            return QStringLiteral("Resume");
        case media::TPlayState::psStep:
            return QStringLiteral("Step");
        case media::TPlayState::psStop:
            return QStringLiteral("Stop");
        case media::TPlayState::psEnd:
            return QStringLiteral("End");
    }
    return {};
}

}  // namespace

void TForm1::connect_preview_controls() {
    // The player hands its events to this thread through the engine's notification queue.
    media::NotificationQueue& queue = encoder_.notification_queue();
    player_source_ = queue.open_source();
    FFPlayer_ = std::make_unique<media::Player>(
        [&queue, source = player_source_](std::function<void()> handler) {
            queue.post(source, media::NotificationKind::player, std::move(handler));
        });
    FFPlayer_->OnFileOpen = [this](int64_t ADuration, int AFrameWidth, int AFrameHeight,
                                   int& AScreenWidth, int& AScreenHeight) {
        FFPlayerFileOpen(ADuration, AFrameWidth, AFrameHeight, AScreenWidth, AScreenHeight);
    };
    FFPlayer_->OnPosition = [this](int64_t APTS) { FFPlayerPosition(APTS); };
    FFPlayer_->OnState = [this](media::TPlayState AState) { FFPlayerState(AState); };

    connect(lvFiles_, &QTableWidget::itemSelectionChanged, this, &TForm1::lvFilesSelectItem);
    new MouseHook(*lvFiles_->viewport(), [this](QEvent::Type type, QMouseEvent& event) {
        if (type == QEvent::MouseButtonPress &&
            !lvFiles_->indexAt(event.position().toPoint()).isValid()) {
            // A press beside the rows leaves no row selected, as in the system's list views.
            lvFiles_->clearSelection();
        } else if (type == QEvent::MouseButtonRelease) {
            // After the list has handled the release itself.
            QMetaObject::invokeMethod(this, &TForm1::lvFilesClick, Qt::QueuedConnection);
        }
        return false;
    });

    const auto button = [this](const char* name) {
        return findChild<QPushButton*>(QString::fromLatin1(name));
    };
    connect(button("bsSkinButton13"), &QPushButton::clicked, this, &TForm1::bsSkinButton13Click);
    connect(button("bsSkinButton14"), &QPushButton::clicked, this, &TForm1::bsSkinButton14Click);
    connect(button("bsSkinButton15"), &QPushButton::clicked, this, &TForm1::bsSkinButton15Click);
    connect(button("bsSkinButton16"), &QPushButton::clicked, this, &TForm1::bsSkinButton16Click);
    connect(button("bsSkinButton20"), &QPushButton::clicked, this, &TForm1::bsSkinButton20Click);

    new MouseHook(*seek_slider_, [this](QEvent::Type type, QMouseEvent& event) {
        if (type == QEvent::MouseButtonRelease) {
            bsSkinSlider1MouseUp();
            return false;
        }
        bsSkinSlider1MouseDown();
        if (event.button() == Qt::LeftButton &&
            !on_slider_handle(*seek_slider_, event.position().toPoint())) {
            // A press on the groove puts the handle under the pointer, ready to be dragged.
            seek_slider_->setValue(slider_value_at(*seek_slider_, event.position().toPoint()));
        }
        return false;
    });

    connect_snapshot_controls();
}

void TForm1::detach_preview() {
    if (!FFPlayer_) {
        return;
    }
    // Queued events of the player are dropped; nothing of it reaches the closing window.
    encoder_.notification_queue().detach(player_source_);
    FFPlayer_->OnFileOpen = nullptr;
    FFPlayer_->OnPosition = nullptr;
    FFPlayer_->OnState = nullptr;
    // A closed window plays nothing on.
    FFPlayer_->Stop(media::StopMode::wait_for_stop);
}

void TForm1::lvFilesSelectItem() {
    // Works on the list's selected row, whatever the notification was about. A row whose codes
    // cannot be read ends the handling here; what was done so far stays.
    const int row = lvFiles_->selected_index();
    if (row < 0) {
        return;
    }
    bool code_read = false;
    const int code = lvFiles_->cell(row, jobs::JobColumn::PresetCode).toInt(&code_read, 10);
    if (!code_read) {
        return;
    }
    const QString option_indices = lvFiles_->cell(row, jobs::JobColumn::OptionIndices);
    restore_job_choices(code, option_indices);
    const bool indices_read =
        option_indices.size() == 12 &&
        std::all_of(option_indices.begin(), option_indices.end(),
                    [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    if (!indices_read) {
        return;
    }
    seek_slider_->setValue(0);
    T_Movie_PLayer_FileName = lvFiles_->caption(row);
    Button31Click();
}

void TForm1::lvFilesClick() {
    if (lvFiles_->selected_index() < 0) {
        FFPlayer_->Stop(media::StopMode::wait_for_stop);
    }
}

void TForm1::Button31Click() {
    if (!FFPlayer_->AVLibLoaded() &&
        !FFPlayer_->LoadAVLib(to_std(paths_.data_dir + QStringLiteral("/LibAV")))) {
        append_log(to_q(FFPlayer_->LastErrMsg()));
        return;
    }
    FScreenControl = screen_panel_;
    // The player has one video and one sound output each: nothing to choose before opening.
    if (!FFPlayer_->Open(to_std(T_Movie_PLayer_FileName), screen_panel_,
                         media::OpenStart::paused)) {
        append_log(to_q(FFPlayer_->LastErrMsg()));
    }
}

void TForm1::bsSkinButton13Click() {
    FFPlayer_->Resume();
    focus_job_list();
}

void TForm1::bsSkinButton14Click() {
    FFPlayer_->Pause();
    focus_job_list();
}

void TForm1::bsSkinButton15Click() {
    if (lvFiles_->selected_index() < 0) {
        return;
    }
    try {
        FFPlayer_->Stop(media::StopMode::wait_for_stop);
        if (!FFPlayer_->Open(to_std(T_Movie_PLayer_FileName), screen_panel_,
                             media::OpenStart::paused)) {
            append_log(to_q(FFPlayer_->LastErrMsg()));
        }
        focus_job_list();
    } catch (...) {
        FFPlayer_->Stop(media::StopMode::wait_for_stop);
    }
}

void TForm1::bsSkinButton16Click() {
    FFPlayer_->SetMute(true);
    findChild<QPushButton*>(QStringLiteral("bsSkinButton20"))->show();
    findChild<QPushButton*>(QStringLiteral("bsSkinButton16"))->hide();
}

void TForm1::bsSkinButton20Click() {
    FFPlayer_->SetMute(false);
    findChild<QPushButton*>(QStringLiteral("bsSkinButton16"))->show();
    findChild<QPushButton*>(QStringLiteral("bsSkinButton20"))->hide();
}

void TForm1::bsSkinSlider1MouseDown() {
    bsSkinSlider1_down_UP_ = kDragDown;
    FFPlayer_->Pause();
}

void TForm1::bsSkinSlider1MouseUp() {
    FFPlayer_->Pause();
    const int64_t maximum = seek_slider_->maximum();
    const int64_t target = maximum > 0 ? FDuration_ * seek_slider_->value() / maximum : 0;
    FFPlayer_->Seek(target, media::SeekFlags::none, media::SeekWait::no_wait);
    FFPlayer_->Resume();
    bsSkinSlider1_down_UP_ = kDragUp;
}

void TForm1::FFPlayerFileOpen(int64_t ADuration, int AFrameWidth, int AFrameHeight,
                              int& AScreenWidth, int& AScreenHeight) {
    append_log(to_q(FFPlayer_->AVProbe().FileInfoText));
    append_log(QString::asprintf("duration: %.2f, frame size: %dx%d",
                                 static_cast<double>(ADuration) / 1000000.0, AFrameWidth,
                                 AFrameHeight));
    if (FScreenControl != nullptr) {
        AScreenWidth = FScreenControl->width();
        AScreenHeight = FScreenControl->height();
    } else if (const QScreen* desktop = QGuiApplication::primaryScreen()) {
        AScreenWidth = desktop->size().width();
        AScreenHeight = desktop->size().height();
    }
    FDuration_ = ADuration;
    seek_slider_->setSingleStep(kSliderStep);
    seek_slider_->setMaximum(seek_slider_->width());
    seek_slider_->setValue(0);
}

void TForm1::FFPlayerPosition(int64_t APTS) {
    if (bsSkinSlider1_down_UP_ != kDragUp) {
        return;
    }
    if (APTS >= 0 && FDuration_ > 0) {
        const int64_t value = static_cast<int64_t>(seek_slider_->maximum()) * APTS / FDuration_;
        seek_slider_->setValue(static_cast<int>(
            std::clamp<int64_t>(value, seek_slider_->minimum(), seek_slider_->maximum())));
    }
}

void TForm1::FFPlayerState(media::TPlayState AState) {
    append_log(state_name(AState));
    switch (AState) {
        case media::TPlayState::psStop:
            if (FFPlayer_->ScreenHandle() == screen_panel_ && screen_panel_ != nullptr) {
                // The logo shows again at once.
                screen_panel_->repaint();
            }
            break;
        case media::TPlayState::psEnd:
            // A file played to its end waits at its start.
            FFPlayer_->Seek(0, media::SeekFlags::sfAny, media::SeekWait::no_wait);
            FFPlayer_->Pause();
            break;
        default:
            break;
    }
}

void TForm1::FormWindowPosChanged() {
    if (FFPlayer_) {
        FFPlayer_->UpdateScreenPosition();
    }
}

}  // namespace velmora::app
