// The main toolbar: large buttons with a picture over the caption.
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include "app/form1.h"
#include "app/pictures.h"

namespace velmora::app {
namespace {

constexpr QSize kToolbarPictureSizePx(32, 32);
constexpr int kToolbarButtonWidthPx = 58;

QToolButton* make_button(QToolBar* bar, const QString& name, const QString& caption,
                         const QString& picture) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(caption);
    // The normal picture, and the greyed one while the button is disabled.
    button->setIcon(picture_icon_with_grey(QStringLiteral("toolbar/") + picture));
    button->setIconSize(kToolbarPictureSizePx);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setMinimumWidth(kToolbarButtonWidthPx);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(true);
    return button;
}

}  // namespace

void TForm1::build_toolbar() {
    tool_bar_ = new QToolBar(QStringLiteral("工具栏"), this);
    tool_bar_->setObjectName(QStringLiteral("mainToolBar"));
    tool_bar_->setMovable(false);
    tool_bar_->setFloatable(false);
    tool_bar_->setIconSize(kToolbarPictureSizePx);
    tool_bar_->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, tool_bar_);

    auto* add = make_button(tool_bar_, QStringLiteral("btnAdd"), QStringLiteral("添加"),
                            QStringLiteral("add"));
    auto* add_menu = new QMenu(add);
    add_menu->setObjectName(QStringLiteral("bsSkinPopupMenu1"));
    add_menu->addAction(action(QStringLiteral("N3")));
    add_menu->addAction(action(QStringLiteral("N2222")));
    add_menu->addAction(action(QStringLiteral("N21")));
    add->setMenu(add_menu);
    add->setPopupMode(QToolButton::InstantPopup);
    tool_bar_->addWidget(add);

    auto* remove = make_button(tool_bar_, QStringLiteral("bsSkinButton7"), QStringLiteral("删除"),
                               QStringLiteral("remove"));
    connect(remove, &QToolButton::clicked, this, &TForm1::btnRemoveClick);
    tool_bar_->addWidget(remove);

    auto* clear = make_button(tool_bar_, QStringLiteral("bsSkinButton8"), QStringLiteral("清空"),
                              QStringLiteral("clear"));
    connect(clear, &QToolButton::clicked, this, &TForm1::btnClearClick);
    tool_bar_->addWidget(clear);

    tool_bar_->addSeparator();

    auto* start = make_button(tool_bar_, QStringLiteral("btnStart"), QStringLiteral("开始"),
                              QStringLiteral("start"));
    connect(start, &QToolButton::clicked, this, &TForm1::btnStartClick);
    tool_bar_->addWidget(start);

    auto* stop = make_button(tool_bar_, QStringLiteral("btnStop"), QStringLiteral("停止"),
                             QStringLiteral("stop"));
    connect(stop, &QToolButton::clicked, this, &TForm1::btnStopClick);
    tool_bar_->addWidget(stop);

    // "暂停" and "继续" share one place: one of the two is visible at a time.
    auto* pause = make_button(tool_bar_, QStringLiteral("btnPause"), QStringLiteral("暂停"),
                              QStringLiteral("pause"));
    connect(pause, &QToolButton::clicked, this, &TForm1::PauseButtonClick);
    pause_place_ = tool_bar_->addWidget(pause);
    auto* resume = make_button(tool_bar_, QStringLiteral("btnResume"), QStringLiteral("继续"),
                               QStringLiteral("resume"));
    connect(resume, &QToolButton::clicked, this, &TForm1::ResumeButtonClick);
    resume_place_ = tool_bar_->addWidget(resume);
    show_pause_button(true);

    tool_bar_->addSeparator();

    auto* options = make_button(tool_bar_, QStringLiteral("btnOption"), QStringLiteral("选项"),
                                QStringLiteral("options"));
    connect(options, &QToolButton::clicked, this, &TForm1::btnOptionClick);
    tool_bar_->addWidget(options);
}

QToolButton* TForm1::tool_button(const QString& object_name) const {
    return tool_bar_ ? tool_bar_->findChild<QToolButton*>(object_name) : nullptr;
}

}  // namespace velmora::app
