// The main menu and the Help commands.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/form1.h"
#include "platform/desktop_services.h"

namespace velmora::app {
namespace {

QAction* add_item(QMenu* menu, const QString& name, const QString& caption) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    return item;
}

}  // namespace

void TForm1::build_menus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = bar->addMenu(QStringLiteral("文件"));
    file->setObjectName(QStringLiteral("N1"));
    connect(add_item(file, QStringLiteral("N3"), QStringLiteral("添加一个文件")),
            &QAction::triggered, this, &TForm1::btnAddClick);
    connect(add_item(file, QStringLiteral("N2222"), QStringLiteral("添加多个文件")),
            &QAction::triggered, this, &TForm1::Button8Click);
    connect(add_item(file, QStringLiteral("N21"), QStringLiteral("添加整个目录")),
            &QAction::triggered, this, &TForm1::Button12Click);
    file->addSeparator();
    connect(add_item(file, QStringLiteral("N5"), QStringLiteral("退出")), &QAction::triggered, this,
            &QWidget::close);

    QMenu* edit = bar->addMenu(QStringLiteral("编辑"));
    edit->setObjectName(QStringLiteral("N6"));
    connect(add_item(edit, QStringLiteral("N111"), QStringLiteral("上移文件")), &QAction::triggered,
            this, &TForm1::bsSkinButton3Click);
    connect(add_item(edit, QStringLiteral("N2221"), QStringLiteral("下移文件")),
            &QAction::triggered, this, &TForm1::bsSkinButton4Click);
    edit->addSeparator();
    connect(add_item(edit, QStringLiteral("N13"), QStringLiteral("删除选择")), &QAction::triggered,
            this, &TForm1::btnRemoveClick);
    connect(add_item(edit, QStringLiteral("N14"), QStringLiteral("清空文件")), &QAction::triggered,
            this, &TForm1::btnClearClick);
    edit->addSeparator();
    connect(add_item(edit, QStringLiteral("N26"), QStringLiteral("重新命名")), &QAction::triggered,
            this, &TForm1::N26Click);

    QMenu* run = bar->addMenu(QStringLiteral("动作"));
    run->setObjectName(QStringLiteral("N7"));
    connect(add_item(run, QStringLiteral("N15"), QStringLiteral("开始转换")), &QAction::triggered,
            this, &TForm1::btnStartClick);
    connect(add_item(run, QStringLiteral("N16"), QStringLiteral("停止转换")), &QAction::triggered,
            this, &TForm1::btnStopClick);
    run->addSeparator();
    connect(add_item(run, QStringLiteral("N17"), QStringLiteral("暂停转换")), &QAction::triggered,
            this, &TForm1::PauseButtonClick);
    connect(add_item(run, QStringLiteral("N18"), QStringLiteral("继续继续")), &QAction::triggered,
            this, &TForm1::ResumeButtonClick);
    run->addSeparator();
    connect(add_item(run, QStringLiteral("N19"), QStringLiteral("选项设置")), &QAction::triggered,
            this, &TForm1::btnOptionClick);

    QMenu* help = bar->addMenu(QStringLiteral("帮助"));
    help->setObjectName(QStringLiteral("N8"));
    QAction* help_system = add_item(help, QStringLiteral("N9"), QStringLiteral("帮助系统"));
    help_system->setShortcut(QKeySequence(Qt::Key_F1));
    help_system->setShortcutContext(Qt::WindowShortcut);
    connect(help_system, &QAction::triggered, this, &TForm1::HelpSystemClick);
    help->addSeparator();
    connect(add_item(help, QStringLiteral("N10"), QStringLiteral("官方网站")), &QAction::triggered,
            this, &TForm1::WebSiteClick);
    connect(add_item(help, QStringLiteral("N11"), QStringLiteral("联系邮箱")), &QAction::triggered,
            this, &TForm1::MailClick);
    connect(add_item(help, QStringLiteral("N12"), QStringLiteral("关于软件")), &QAction::triggered,
            this, &TForm1::AboutClick);
}

QAction* TForm1::action(const QString& object_name) const {
    return menuBar()->findChild<QAction*>(object_name);
}

void TForm1::HelpSystemClick() {
    desktop_.open_url(QUrl(QStringLiteral(VELMORA_WEBSITE)));
}

void TForm1::WebSiteClick() {
    desktop_.open_url(QUrl(QStringLiteral(VELMORA_WEBSITE)));
}

void TForm1::MailClick() {
    desktop_.open_url(QUrl(QStringLiteral("mailto:") + QStringLiteral(VELMORA_MAILBOX)));
}

}  // namespace velmora::app
