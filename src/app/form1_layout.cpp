// The controls of the main window body and where they stand.
#include <QActionGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <array>

#include "app/form1.h"
#include "app/pictures.h"
#include "app/widgets/option_combo_box.h"
#include "app/widgets/pass_focus_line_edit.h"
#include "app/widgets/picture_combo_box.h"
#include "jobs/job_list_view.h"
#include "preview/screen_panel.h"

namespace velmora::app {
namespace {

constexpr int kRightColumnWidthPx = 236;
constexpr int kCategoryBoxWidthPx = 150;
constexpr QSize kScreenSizePx(200, 124);
constexpr QSize kSmallPictureSizePx(18, 18);
constexpr QSize kEmptyListPictureSizePx(240, 150);

QPushButton* small_button(QWidget* parent, const QString& name, const QString& caption,
                          const QString& hint, const QIcon& picture) {
    auto* button = new QPushButton(picture, caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setIconSize(kSmallPictureSizePx);
    return button;
}

QPushButton* player_button(QWidget* parent, const QString& name, const QString& hint,
                           const QString& picture) {
    auto* button = small_button(parent, name, QString(), hint,
                                picture_icon(QStringLiteral("buttons/") + picture));
    button->setFixedSize(26, 24);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

void TForm1::build_body() {
    auto* body = new QWidget(this);
    body->setObjectName(QStringLiteral("body"));
    setCentralWidget(body);

    auto* left = new QVBoxLayout;
    left->setSpacing(5);
    left->addWidget(build_list_area(), 1);
    left->addWidget(build_output_panel());

    auto* right = new QVBoxLayout;
    right->setSpacing(6);
    right->addWidget(build_preset_panel());
    right->addWidget(build_preview_panel(), 1);

    auto* columns = new QHBoxLayout(body);
    columns->setContentsMargins(6, 6, 6, 6);
    columns->setSpacing(6);
    columns->addLayout(left, 1);
    columns->addLayout(right);

    // The diagnostic log lies outside the visible area of the window.
    log_ = new QPlainTextEdit(body);
    log_->setObjectName(QStringLiteral("mmoLog"));
    log_->setReadOnly(true);
    log_->setFocusPolicy(Qt::NoFocus);
    log_->setGeometry(kClientWidthPx + 40, 0, 240, 120);

    fill_category_selector();
}

QWidget* TForm1::build_list_area() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    // The list and the picture panel share one place; the panel lies on top while the list
    // is empty.
    auto* place = new QWidget(area);
    auto* stack = new QGridLayout(place);
    stack->setContentsMargins(0, 0, 0, 0);
    lvFiles_ = new jobs::JobListView(place);
    stack->addWidget(lvFiles_, 0, 0);

    empty_list_panel_ = new QFrame(place);
    empty_list_panel_->setObjectName(QStringLiteral("bsSkinPanel5"));
    empty_list_panel_->setFrameShape(QFrame::StyledPanel);
    // A dark card like the skinned list it covers; its own colours keep it readable in any skin.
    empty_list_panel_->setStyleSheet(QStringLiteral(
        "QFrame#bsSkinPanel5 { border: 1px solid #1f1f1f; background-color: qlineargradient("
        "x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #3b4048, stop: 1 #2b2f35); }"
        "QFrame#bsSkinPanel5 QLabel { color: #e8edf3; background: transparent; border: none; }"
        "QFrame#bsSkinPanel5 QLabel#emptyListHint { color: #aeb8c4; }"));
    auto* picture = new QLabel(empty_list_panel_);
    picture->setObjectName(QStringLiteral("Image5"));
    picture->setPixmap(picture_pixmap(QStringLiteral("empty_list"), kEmptyListPictureSizePx));
    picture->setAlignment(Qt::AlignCenter);
    auto* invitation =
        new QLabel(QStringLiteral("在这里添加需要转换的视频或音频文件"), empty_list_panel_);
    invitation->setAlignment(Qt::AlignCenter);
    QFont big = invitation->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    invitation->setFont(big);
    auto* how = new QLabel(QStringLiteral("点击工具栏上的“添加”按钮，选择文件或整个目录"),
                           empty_list_panel_);
    how->setObjectName(QStringLiteral("emptyListHint"));
    how->setAlignment(Qt::AlignCenter);
    auto* panel_layout = new QVBoxLayout(empty_list_panel_);
    panel_layout->addStretch(1);
    panel_layout->addWidget(picture);
    panel_layout->addSpacing(8);
    panel_layout->addWidget(invitation);
    panel_layout->addWidget(how);
    panel_layout->addStretch(1);
    stack->addWidget(empty_list_panel_, 0, 0);
    layout->addWidget(place, 1);

    auto* down = small_button(area, QStringLiteral("bsSkinButton4"), QStringLiteral("下移"),
                              QStringLiteral("下移"),
                              picture_icon_with_grey(QStringLiteral("buttons/down")));
    auto* up =
        small_button(area, QStringLiteral("bsSkinButton3"), QStringLiteral("上移"),
                     QStringLiteral("上移"), picture_icon_with_grey(QStringLiteral("buttons/up")));
    auto* rename = small_button(area, QStringLiteral("bsSkinButton21"), QStringLiteral("重命名"),
                                QStringLiteral("重命名"),
                                picture_icon_with_grey(QStringLiteral("buttons/rename")));
    connect(down, &QPushButton::clicked, this, &TForm1::bsSkinButton4Click);
    connect(up, &QPushButton::clicked, this, &TForm1::bsSkinButton3Click);
    connect(rename, &QPushButton::clicked, this, &TForm1::bsSkinButton21Click);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(down);
    buttons->addWidget(up);
    buttons->addWidget(rename);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return area;
}

QWidget* TForm1::build_output_panel() {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("bsSkinPanel2"));
    panel->setFrameShape(QFrame::StyledPanel);

    category_box_ = new PictureComboBox(panel);
    category_box_->setObjectName(QStringLiteral("bsSkinOfficeComboBox2"));
    category_box_->setFixedWidth(kCategoryBoxWidthPx);
    format_box_ = new PictureComboBox(panel);
    format_box_->setObjectName(QStringLiteral("bsSkinOfficeComboBox1"));
    format_box_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    format_box_->setMinimumContentsLength(20);

    folder_edit_ = new PassFocusLineEdit(panel);
    folder_edit_->setObjectName(QStringLiteral("Video_OutPut_Folder_Edit"));
    connect(folder_edit_, &PassFocusLineEdit::pressed, this, &TForm1::focus_job_list);

    browse_button_ = new QPushButton(QStringLiteral("浏览..."), panel);
    browse_button_->setObjectName(QStringLiteral("bsSkinButton5"));
    connect(browse_button_, &QPushButton::clicked, this, &TForm1::bsSkinButton5Click);
    auto* open = new QPushButton(QStringLiteral("打开"), panel);
    open->setObjectName(QStringLiteral("bsSkinButton6"));
    connect(open, &QPushButton::clicked, this, &TForm1::bsSkinButton6Click);

    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(8, 7, 8, 7);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    grid->addWidget(new QLabel(QStringLiteral("输出格式："), panel), 0, 0);
    grid->addWidget(category_box_, 0, 1);
    grid->addWidget(format_box_, 0, 2, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("输出目录："), panel), 1, 0);
    grid->addWidget(folder_edit_, 1, 1, 1, 2);
    grid->addWidget(browse_button_, 1, 3);
    grid->addWidget(open, 1, 4);
    grid->setColumnStretch(2, 1);
    return panel;
}

QWidget* TForm1::build_preset_panel() {
    auto* panel = new QGroupBox(QStringLiteral("预置选项"), this);
    panel->setObjectName(QStringLiteral("bsSkinGroupBox1"));
    panel->setFixedWidth(kRightColumnWidthPx);
    struct Row {
        int number;
        const char* label;
    };
    static constexpr std::array<Row, 6> kRows = {{{1, "视频分辨率："},
                                                  {2, "视频比特率："},
                                                  {3, "音频比特率："},
                                                  {4, "视频缩放："},
                                                  {9, "视频帧率："},
                                                  {10, "音频采样率："}}};
    auto* grid = new QGridLayout(panel);
    // Tight margins leave the lists room for their longest entries ("保持原视频模式").
    grid->setContentsMargins(4, 12, 4, 10);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(9);
    for (size_t i = 0; i < kRows.size(); ++i) {
        auto* list = new OptionComboBox(panel);
        list->setObjectName(QStringLiteral("bsSkinComboBox") + QString::number(kRows[i].number));
        option_boxes_[i] = list;
        auto* label = new QLabel(QString::fromUtf8(kRows[i].label), panel);
        label->setBuddy(list);
        grid->addWidget(label, static_cast<int>(i), 0);
        grid->addWidget(list, static_cast<int>(i), 1);
    }
    grid->setColumnStretch(1, 1);
    return panel;
}

QWidget* TForm1::build_preview_panel() {
    auto* panel = new QGroupBox(QStringLiteral("视频预览"), this);
    panel->setObjectName(QStringLiteral("bsSkinPanel3"));
    panel->setFixedWidth(kRightColumnWidthPx);

    // The black screen the player draws into; it shows its logo while nothing plays.
    screen_panel_ = new preview::ScreenPanel(panel);
    screen_panel_->setFixedSize(kScreenSizePx);

    seek_slider_ = new QSlider(Qt::Horizontal, panel);
    seek_slider_->setObjectName(QStringLiteral("bsSkinSlider1"));
    seek_slider_->setRange(0, 100);
    seek_slider_->setFocusPolicy(Qt::NoFocus);

    auto* play = player_button(panel, QStringLiteral("bsSkinButton13"), QStringLiteral("播放"),
                               QStringLiteral("play"));
    auto* pause = player_button(panel, QStringLiteral("bsSkinButton14"), QStringLiteral("暂停"),
                                QStringLiteral("pause"));
    auto* stop = player_button(panel, QStringLiteral("bsSkinButton15"), QStringLiteral("停止"),
                               QStringLiteral("stop"));
    // The mute pair shares one spot: the sound-on button shows until muted.
    auto* mute = player_button(panel, QStringLiteral("bsSkinButton16"), QStringLiteral("静音"),
                               QStringLiteral("sound"));
    auto* unmute = player_button(panel, QStringLiteral("bsSkinButton20"), QStringLiteral("静音"),
                                 QStringLiteral("muted"));
    unmute->hide();
    auto* snapshot = player_button(panel, QStringLiteral("bsSkinButton22"), QStringLiteral("快照"),
                                   QStringLiteral("snapshot"));
    auto* snapshot_settings = player_button(panel, QStringLiteral("bsSkinButton23"),
                                            QStringLiteral("设置"), QStringLiteral("settings"));

    // The snapshot settings menu: folder commands and the picture type.
    snapshot_menu_ = new QMenu(this);
    snapshot_menu_->setObjectName(QStringLiteral("bsSkinPopupMenu2"));
    snapshot_menu_->addAction(QStringLiteral("打开快照目录"))
        ->setObjectName(QStringLiteral("MenuItem1"));
    snapshot_menu_->addAction(QStringLiteral("设置快照目录"))
        ->setObjectName(QStringLiteral("MenuItem2"));
    snapshot_menu_->addSeparator()->setObjectName(QStringLiteral("MenuItem3"));
    QMenu* types = snapshot_menu_->addMenu(QStringLiteral("快照保存类型"));
    types->setObjectName(QStringLiteral("N27"));
    auto* type_group = new QActionGroup(types);
    type_group->setExclusive(true);
    for (const auto& [name, caption] :
         {std::pair{"BMP1", "BMP文件"}, std::pair{"JPG1", "JPG文件"}, std::pair{"GIF1", "GIF文件"},
          std::pair{"PNG1", "PNG文件"}}) {
        QAction* type = types->addAction(QString::fromUtf8(caption));
        type->setObjectName(QString::fromUtf8(name));
        type->setCheckable(true);
        type_group->addAction(type);
    }
    type_group->actions().first()->setChecked(true);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    for (QPushButton* button : {play, pause, stop, mute, unmute}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    buttons->addWidget(snapshot);
    buttons->addWidget(snapshot_settings);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(8, 10, 8, 8);
    layout->setSpacing(6);
    layout->addStretch(1);
    layout->addWidget(screen_panel_, 0, Qt::AlignHCenter);
    layout->addSpacing(4);
    layout->addWidget(seek_slider_);
    layout->addLayout(buttons);
    layout->addStretch(1);
    return panel;
}

OptionComboBox* TForm1::bsSkinComboBox(int number) const {
    static constexpr std::array<int, 6> kNumbers = {1, 2, 3, 4, 9, 10};
    for (size_t i = 0; i < kNumbers.size(); ++i) {
        if (kNumbers[i] == number) {
            return option_boxes_[i];
        }
    }
    return nullptr;
}

void TForm1::set_empty_list_panel_visible(bool visible) {
    empty_list_panel_->setVisible(visible);
}

void TForm1::fix_client_size() {
    setFixedSize(kClientWidthPx, kClientHeightPx + menuBar()->sizeHint().height());
}

}  // namespace velmora::app
