// The main window shell: start-up order, control groups, menus and toolbar, the output folder
// row, the Help commands and closing.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/control_groups.h"
#include "app/form2.h"
#include "app/pictures.h"
#include "app/widgets/option_combo_box.h"
#include "app/widgets/pass_focus_line_edit.h"
#include "app/widgets/picture_combo_box.h"
#include "app_harness.h"
#include "jobs/job_list_view.h"
#include "media/encoder_backend.h"
#include "media/transcode.h"
#include "presets/catalogue.h"
#include "settings/TForm5.h"
#include "support/temp_dir.h"

using velmora::app::ControlGroup;
using velmora::app::GroupReach;
using velmora::app::GroupState;
using velmora::app::TForm1;
using velmora::testing::AppHarness;

Q_DECLARE_METATYPE(ControlGroup)

namespace {

// The controls of each group, by object name (toolbar buttons, menu items, other widgets).
QStringList members_of(ControlGroup group) {
    switch (group) {
        case ControlGroup::Add:
            return {"btnAdd", "N3", "N2222", "N21"};
        case ControlGroup::Edit:
            return {"bsSkinButton7", "N13", "N26", "bsSkinButton21"};
        case ControlGroup::Clear:
            return {"bsSkinButton8", "N14"};
        case ControlGroup::Start:
            return {"btnStart", "N15"};
        case ControlGroup::Stop:
            return {"btnStop", "N16"};
        case ControlGroup::Pause:
            return {"btnPause", "N17"};
        case ControlGroup::Resume:
            return {"btnResume", "N18"};
        case ControlGroup::Preset:
            return {"bsSkinComboBox1",       "bsSkinComboBox2",       "bsSkinComboBox3",
                    "bsSkinComboBox4",       "bsSkinComboBox9",       "bsSkinComboBox10",
                    "bsSkinOfficeComboBox2", "bsSkinOfficeComboBox1", "bsSkinButton5"};
    }
    return {};
}

// Whether the control of that name is enabled; fails the test when there is none.
bool enabled(TForm1& form, const QString& name) {
    if (QAction* item = form.action(name)) {
        return item->isEnabled();
    }
    QWidget* widget = form.findChild<QWidget*>(name);
    if (widget == nullptr) {
        qFatal("no control named %s", qPrintable(name));
    }
    return widget->isEnabled();
}

// The texts of a menu's items, "-" for a separator.
QStringList item_texts(const QList<QAction*>& items) {
    QStringList texts;
    for (QAction* item : items) {
        texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    return texts;
}

// option.ini's lines without blank ones.
QStringList ini_lines(const QString& file) {
    QFile ini(file);
    if (!ini.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList lines;
    for (const QString& line : QString::fromUtf8(ini.readAll()).split('\n')) {
        if (!line.trimmed().isEmpty()) {
            lines << line.trimmed();
        }
    }
    return lines;
}

void write_text(const QString& file, const QString& text) {
    velmora::testing::write_file(QFile::encodeName(file).toStdString(), text.toStdString());
}

QImage rendered(const QIcon& icon, QIcon::Mode mode) {
    return icon.pixmap(QSize(32, 32), mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT
  private slots:
    void window_is_fixed_titled_and_unmaximizable();
    void groups_open_in_their_states_data();
    void groups_open_in_their_states();
    void toolbar_buttons_show_grey_pictures_while_disabled();
    void preset_group_switches_with_button22_and_button23();
    void stop_can_reach_only_the_toolbar_start();
    void pause_and_resume_swap_in_one_place_data();
    void pause_and_resume_swap_in_one_place();
    void menus_hold_their_items_and_separators();
    void toolbar_holds_its_buttons_in_order();
    void help_items_open_site_and_mailbox_data();
    void help_items_open_site_and_mailbox();
    void f1_anywhere_opens_the_web_site();
    void first_start_writes_out_path_then_skin_then_the_options();
    void stored_output_folder_is_used();
    void skin_index_from_the_file_data();
    void skin_index_from_the_file();
    void start_up_selects_preset_100_and_runs_format_change();
    void choosing_a_category_refills_formats_and_runs_format_change();
    void settings_write_failure_ends_start_up_and_is_shown();
    void browse_confirm_cancel_or_missing_folder_data();
    void browse_confirm_cancel_or_missing_folder();
    void browse_write_failure_keeps_folder_and_focus();
    void open_button_opens_the_box_folder_and_focuses_list();
    void folder_box_never_keeps_the_focus();
    void empty_list_panel_covers_the_list();
    void log_is_hidden_and_append_only();
    void options_dialog_drives_the_encoder_preview();
    void commands_show_the_dialogs_modally_data();
    void commands_show_the_dialogs_modally();
    void closing_proceeds_without_messages_data();
    void closing_proceeds_without_messages();
    void closing_during_a_run_ends_the_running_tasks();
};

void Form1Test::window_is_fixed_titled_and_unmaximizable() {
    AppHarness harness;
    TForm1& form = harness.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.objectName(), QString("TForm1"));
    QCOMPARE(form.windowTitle(), QString("Velmora视频格式转换器"));
    const int menu_height = form.menuBar()->height();
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.size(), QSize(804, 541 + menu_height));
    QCOMPARE(form.main_tool_bar()->height() + form.centralWidget()->height(), 541);
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
}

void Form1Test::groups_open_in_their_states_data() {
    QTest::addColumn<ControlGroup>("group");
    QTest::addColumn<bool>("on");
    QTest::newRow("Add") << ControlGroup::Add << true;
    QTest::newRow("Edit") << ControlGroup::Edit << false;
    QTest::newRow("Clear") << ControlGroup::Clear << false;
    QTest::newRow("Start") << ControlGroup::Start << false;
    QTest::newRow("Stop") << ControlGroup::Stop << false;
    QTest::newRow("Pause") << ControlGroup::Pause << false;
    QTest::newRow("Resume") << ControlGroup::Resume << false;
    QTest::newRow("Preset") << ControlGroup::Preset << true;
}

void Form1Test::groups_open_in_their_states() {
    QFETCH(ControlGroup, group);
    QFETCH(bool, on);
    AppHarness harness;
    TForm1& form = harness.open();
    QCOMPARE(form.group_state(group) == GroupState::Enabled, on);
    for (const QString& name : members_of(group)) {
        QVERIFY2(enabled(form, name) == on, qPrintable(name));
    }
    // The move buttons under the list are always on.
    QVERIFY(enabled(form, "bsSkinButton3"));
    QVERIFY(enabled(form, "bsSkinButton4"));
}

void Form1Test::toolbar_buttons_show_grey_pictures_while_disabled() {
    AppHarness harness;
    TForm1& form = harness.open();
    const QStringList names = {"btnAdd",  "bsSkinButton7", "bsSkinButton8", "btnStart",
                               "btnStop", "btnPause",      "btnResume",     "btnOption"};
    const QStringList pictures = {"add",  "remove", "clear",  "start",
                                  "stop", "pause",  "resume", "options"};
    for (int i = 0; i < names.size(); ++i) {
        const QIcon icon = form.tool_button(names[i])->icon();
        const QString picture = "toolbar/" + pictures[i];
        QCOMPARE(rendered(icon, QIcon::Normal),
                 rendered(velmora::app::picture_icon(picture), QIcon::Normal));
        QCOMPARE(rendered(icon, QIcon::Disabled),
                 rendered(velmora::app::picture_icon(picture + "_grey"), QIcon::Normal));
        QVERIFY(rendered(icon, QIcon::Normal) != rendered(icon, QIcon::Disabled));
    }
}

void Form1Test::preset_group_switches_with_button22_and_button23() {
    AppHarness harness;
    TForm1& form = harness.open();
    form.Button22Click();
    QCOMPARE(form.group_state(ControlGroup::Preset), GroupState::Disabled);
    for (const QString& name : members_of(ControlGroup::Preset)) {
        QVERIFY2(!enabled(form, name), qPrintable(name));
    }
    QVERIFY(enabled(form, "btnAdd"));  // other groups keep their state
    form.Button23Click();
    for (const QString& name : members_of(ControlGroup::Preset)) {
        QVERIFY2(enabled(form, name), qPrintable(name));
    }
}

void Form1Test::stop_can_reach_only_the_toolbar_start() {
    AppHarness harness;
    TForm1& form = harness.open();
    form.set_group_enabled(ControlGroup::Start, GroupState::Enabled, GroupReach::ToolbarButtonOnly);
    QVERIFY(enabled(form, "btnStart"));
    QVERIFY(!enabled(form, "N15"));
    QCOMPARE(form.group_state(ControlGroup::Start), GroupState::Disabled);
}

void Form1Test::pause_and_resume_swap_in_one_place_data() {
    QTest::addColumn<bool>("from_menu");
    QTest::newRow("toolbar") << false;
    QTest::newRow("menu") << true;
}

void Form1Test::pause_and_resume_swap_in_one_place() {
    QFETCH(bool, from_menu);
    AppHarness harness;
    TForm1& form = harness.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QToolButton* pause = form.tool_button("btnPause");
    QToolButton* resume = form.tool_button("btnResume");
    QVERIFY(pause->isVisible());
    QVERIFY(!resume->isVisible());
    const QPoint place = pause->pos();

    // A running conversion: pausing is possible.
    form.set_group_enabled(ControlGroup::Pause, GroupState::Enabled);
    if (from_menu) {
        form.action("N17")->trigger();
    } else {
        QTest::mouseClick(pause, Qt::LeftButton);
    }
    QVERIFY(!pause->isVisible());
    QVERIFY(resume->isVisible());
    QVERIFY(resume->isEnabled());
    QCOMPARE(resume->pos(), place);
    QVERIFY(!form.action("N17")->isEnabled());
    QVERIFY(form.action("N18")->isEnabled());

    if (from_menu) {
        form.action("N18")->trigger();
    } else {
        QTest::mouseClick(resume, Qt::LeftButton);
    }
    QVERIFY(pause->isVisible());
    QVERIFY(pause->isEnabled());
    QVERIFY(!resume->isVisible());
    QCOMPARE(pause->pos(), place);
    QVERIFY(form.action("N17")->isEnabled());
    QVERIFY(!form.action("N18")->isEnabled());
}

void Form1Test::menus_hold_their_items_and_separators() {
    AppHarness harness;
    TForm1& form = harness.open();
    const QList<QAction*> menus = form.menuBar()->actions();
    QCOMPARE(item_texts(menus), QStringList({"文件", "编辑", "动作", "帮助"}));
    QCOMPARE(item_texts(menus[0]->menu()->actions()),
             QStringList({"添加一个文件", "添加多个文件", "添加整个目录", "-", "退出"}));
    QCOMPARE(item_texts(menus[1]->menu()->actions()),
             QStringList({"上移文件", "下移文件", "-", "删除选择", "清空文件", "-", "重新命名"}));
    QCOMPARE(item_texts(menus[2]->menu()->actions()),
             QStringList({"开始转换", "停止转换", "-", "暂停转换", "继续继续", "-", "选项设置"}));
    QCOMPARE(item_texts(menus[3]->menu()->actions()),
             QStringList({"帮助系统", "-", "官方网站", "联系邮箱", "关于软件"}));
    QCOMPARE(menus[3]->menu()->actions()[0]->shortcut(), QKeySequence(Qt::Key_F1));
}

void Form1Test::toolbar_holds_its_buttons_in_order() {
    AppHarness harness;
    TForm1& form = harness.open();
    QStringList entries;
    for (QAction* entry : form.main_tool_bar()->actions()) {
        if (entry->isSeparator()) {
            entries << "|";
        } else if (auto* button =
                       qobject_cast<QToolButton*>(form.main_tool_bar()->widgetForAction(entry))) {
            entries << button->text();
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        }
    }
    QCOMPARE(entries, QStringList({"添加", "删除", "清空", "|", "开始", "停止", "暂停", "继续", "|",
                                   "选项"}));
    QMenu* drop_down = form.tool_button("btnAdd")->menu();
    QVERIFY(drop_down != nullptr);
    QCOMPARE(item_texts(drop_down->actions()),
             QStringList({"添加一个文件", "添加多个文件", "添加整个目录"}));
    // The drop-down runs the very commands of the 文件 menu.
    QCOMPARE(drop_down->actions()[0], form.action("N3"));
    QCOMPARE(drop_down->actions()[2], form.action("N21"));
}

void Form1Test::help_items_open_site_and_mailbox_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QUrl>("expected");
    QTest::newRow("帮助系统") << "N9" << QUrl(VELMORA_WEBSITE);
    QTest::newRow("官方网站") << "N10" << QUrl(VELMORA_WEBSITE);
    QTest::newRow("联系邮箱") << "N11" << QUrl(QString("mailto:") + VELMORA_MAILBOX);
}

void Form1Test::help_items_open_site_and_mailbox() {
    QFETCH(QString, item);
    QFETCH(QUrl, expected);
    AppHarness harness;
    TForm1& form = harness.open();
    form.action(item)->trigger();
    QCOMPARE(harness.desktop.opened, QList<QUrl>({expected}));
    QVERIFY(harness.boxes.shown.isEmpty());
}

void Form1Test::f1_anywhere_opens_the_web_site() {
    AppHarness harness;
    TForm1& form = harness.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.lvFiles()->setFocus();
    QTest::keyClick(form.lvFiles(), Qt::Key_F1);
    form.bsSkinButton5Click();  // a cancelled browse leaves the focus where it was
    QTest::keyClick(form.findChild<QWidget*>("bsSkinButton6"), Qt::Key_F1);
    QCOMPARE(harness.desktop.opened, QList<QUrl>({QUrl(VELMORA_WEBSITE), QUrl(VELMORA_WEBSITE)}));
}

void Form1Test::first_start_writes_out_path_then_skin_then_the_options() {
    AppHarness harness;
    TForm1& form = harness.open();
    velmora::settings::TForm5 options(form.ini(), harness.boxes, &form);
    const QString out = harness.paths.default_output_folder;
    QCOMPARE(ini_lines(harness.paths.settings_file),
             QStringList({"[OutPath]", "OutPath=" + out, "[Skin]", "SetSkin=0", "[Options]",
                          "Thread_Count=0", "After_Done=0", "Thread_Priority=3", "Overwrite_File=1",
                          "Show_Preview=0"}));
    QVERIFY(QDir(out).exists());
    QCOMPARE(form.FileOutPutPath(), out);
    QCOMPARE(form.Video_OutPut_Folder_Edit()->text(), out);
    QVERIFY(form.bsSkinData1().loaded());
    QVERIFY(!form.styleSheet().isEmpty());
    QVERIFY(!form.main_tool_bar()->styleSheet().isEmpty());
    QVERIFY(!form.bsSkinComboBox(10)->styleSheet().isEmpty());
    QVERIFY(harness.boxes.shown.isEmpty());
}

void Form1Test::stored_output_folder_is_used() {
    AppHarness harness;
    const QString stored = harness.folder() + "/存储/输出";
    write_text(harness.paths.settings_file, "[OutPath]\nOutPath=" + stored + "\n");
    TForm1& form = harness.open();
    QCOMPARE(form.FileOutPutPath(), stored);
    QCOMPARE(form.Video_OutPut_Folder_Edit()->text(), stored);
    QVERIFY(QDir(stored).exists());
    QVERIFY(!QDir(harness.paths.default_output_folder).exists());
}

void Form1Test::skin_index_from_the_file_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QString>("after");
    QTest::newRow("0") << "0" << true << "SetSkin=0";
    QTest::newRow("1: no such skin") << "1" << false << "SetSkin=1";
    QTest::newRow("empty") << "" << true << "SetSkin=0";
}

void Form1Test::skin_index_from_the_file() {
    QFETCH(QString, stored);
    QFETCH(bool, loaded);
    QFETCH(QString, after);
    AppHarness harness;
    write_text(harness.paths.settings_file, "[Skin]\nSetSkin=" + stored + "\n");
    TForm1& form = harness.open();
    QCOMPARE(form.bsSkinData1().loaded(), loaded);
    QCOMPARE(form.styleSheet().isEmpty(), !loaded);
    QVERIFY(ini_lines(harness.paths.settings_file).contains(after));
    // The second skin paints the toolbar and the option lists in any case.
    QVERIFY(!form.main_tool_bar()->styleSheet().isEmpty());
    QVERIFY(!form.bsSkinComboBox(1)->styleSheet().isEmpty());
}

void Form1Test::start_up_selects_preset_100_and_runs_format_change() {
    AppHarness harness;
    TForm1& form = harness.open();
    QCOMPARE(form.format_changes_run(), 1);
    QCOMPARE(form.current_preset_code(), 100);
    auto* categories = form.bsSkinOfficeComboBox2();
    auto* formats = form.bsSkinOfficeComboBox1();
    QCOMPARE(categories->item_count(), velmora::presets::kCategoryCount);
    QCOMPARE(categories->item_caption(0), QString("常用视频"));
    QCOMPARE(categories->item_caption(27), QString("网络机顶盒"));
    for (int k = 0; k < categories->item_count(); ++k) {
        QCOMPARE(categories->item_picture(k), k);
        const QImage picture = rendered(categories->itemIcon(k), QIcon::Normal);
        QVERIFY2(qAlpha(picture.pixel(16, 16)) == 255, qPrintable(categories->item_caption(k)));
    }
    const auto captions = velmora::presets::formats_of(0);
    QCOMPARE(formats->item_count(), static_cast<int>(captions.size()));
    for (int i = 0; i < formats->item_count(); ++i) {
        QCOMPARE(formats->item_caption(i).toStdString(), std::string(captions[i]));
        QCOMPARE(formats->item_picture(i), i % 2);
    }
}

void Form1Test::choosing_a_category_refills_formats_and_runs_format_change() {
    AppHarness harness;
    TForm1& form = harness.open();
    auto* categories = form.bsSkinOfficeComboBox2();
    auto* formats = form.bsSkinOfficeComboBox1();
    formats->set_item_index(4);
    QCOMPARE(form.format_changes_run(), 2);

    // The user picks the category already shown: rebuilt, back on the first format.
    emit categories->activated(0);
    QCOMPARE(form.format_changes_run(), 3);
    QCOMPARE(form.current_preset_code(), 100);
    QCOMPARE(formats->item_count(), 15);

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    categories->setFocus();
    QTest::keyClick(categories, Qt::Key_Down);
    QCOMPARE(form.format_changes_run(), 4);
    QCOMPARE(form.current_preset_code(), 200);
    QCOMPARE(formats->item_count(), 13);
}

void Form1Test::settings_write_failure_ends_start_up_and_is_shown() {
    AppHarness probe;
    const QString blocker = probe.folder() + "/afile";
    write_text(blocker, "not a folder");
    AppHarness harness(blocker + "/option.ini");
    TForm1& form = harness.open();
    QCOMPARE(harness.boxes.shown, QStringList({"error|Velmora视频格式转换器|Unable to write to " +
                                               blocker + "/option.ini"}));
    // The steps after the output folder did not run.
    QCOMPARE(form.format_changes_run(), 0);
    QCOMPARE(form.bsSkinOfficeComboBox1()->item_count(), 0);
    QVERIFY(!form.bsSkinData1().loaded());
    QVERIFY(form.FileOutPutPath().isEmpty());
}

void Form1Test::browse_confirm_cancel_or_missing_folder_data() {
    QTest::addColumn<QString>("answer");  // "" cancels; relative to the test folder otherwise
    QTest::addColumn<bool>("taken");
    QTest::newRow("confirmed") << "chosen" << true;
    QTest::newRow("cancelled") << "" << false;
    QTest::newRow("gone") << "missing" << false;
}

void Form1Test::browse_confirm_cancel_or_missing_folder() {
    QFETCH(QString, answer);
    QFETCH(bool, taken);
    AppHarness harness;
    QDir(harness.folder()).mkdir("chosen");
    TForm1& form = harness.open();
    const QString before = form.FileOutPutPath();
    const QStringList ini_before = ini_lines(harness.paths.settings_file);
    const QString chosen = harness.folder() + "/" + answer;
    harness.chooser.answers << (answer.isEmpty() ? QString() : chosen);
    QWidget* browse = form.findChild<QWidget*>("bsSkinButton5");
    browse->setFocus();

    QTest::mouseClick(browse, Qt::LeftButton);

    QCOMPARE(harness.chooser.start_folders.size(), 1);
    if (taken) {
        QCOMPARE(form.FileOutPutPath(), chosen);
        QCOMPARE(form.Video_OutPut_Folder_Edit()->text(), chosen);
        QVERIFY(ini_lines(harness.paths.settings_file).contains("OutPath=" + chosen));
        QCOMPARE(form.focusWidget(), form.lvFiles());
    } else {
        QCOMPARE(form.FileOutPutPath(), before);
        QCOMPARE(form.Video_OutPut_Folder_Edit()->text(), before);
        QCOMPARE(ini_lines(harness.paths.settings_file), ini_before);
        QCOMPARE(form.focusWidget(), browse);
    }
    QVERIFY(harness.boxes.shown.isEmpty());
    // The next showing opens on the last confirmed folder only.
    form.bsSkinButton5Click();
    QCOMPARE(harness.chooser.start_folders[1], answer.isEmpty() ? QString("/") : chosen);
}

void Form1Test::browse_write_failure_keeps_folder_and_focus() {
    AppHarness harness;
    TForm1& form = harness.open();
    const QString chosen = harness.folder() + "/chosen";
    QDir(harness.folder()).mkdir("chosen");
    // From now on option.ini cannot be written: a folder stands in its place.
    QFile::remove(harness.paths.settings_file);
    QDir().mkpath(harness.paths.settings_file + "/inside");
    harness.chooser.answers << chosen;
    QWidget* browse = form.findChild<QWidget*>("bsSkinButton5");
    browse->setFocus();

    form.bsSkinButton5Click();

    QCOMPARE(form.FileOutPutPath(), chosen);
    QCOMPARE(form.Video_OutPut_Folder_Edit()->text(), chosen);
    QCOMPARE(harness.boxes.shown.size(), 1);
    QVERIFY(harness.boxes.shown[0].startsWith("error|Velmora视频格式转换器|Unable to write to "));
    QCOMPARE(form.focusWidget(), browse);
}

void Form1Test::open_button_opens_the_box_folder_and_focuses_list() {
    AppHarness harness;
    TForm1& form = harness.open();
    QWidget* open = form.findChild<QWidget*>("bsSkinButton6");
    open->setFocus();
    QTest::mouseClick(open, Qt::LeftButton);
    QCOMPARE(harness.desktop.opened,
             QList<QUrl>({QUrl::fromLocalFile(harness.paths.default_output_folder)}));
    QCOMPARE(form.focusWidget(), form.lvFiles());
}

void Form1Test::folder_box_never_keeps_the_focus() {
    AppHarness harness;
    TForm1& form = harness.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* box = form.Video_OutPut_Folder_Edit();
    form.findChild<QWidget*>("bsSkinButton6")->setFocus();
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), form.lvFiles());
    QVERIFY(box->isReadOnly());
    QCOMPARE(box->focusPolicy(), Qt::NoFocus);
}

void Form1Test::empty_list_panel_covers_the_list() {
    AppHarness harness;
    TForm1& form = harness.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QFrame* panel = form.bsSkinPanel5();
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->geometry(), form.lvFiles()->geometry());
    QWidget* on_top = form.lvFiles()->parentWidget()->childAt(form.lvFiles()->geometry().center());
    QVERIFY(on_top == panel || panel->isAncestorOf(on_top));
    form.set_empty_list_panel_visible(false);
    QVERIFY(!panel->isVisible());
    form.set_empty_list_panel_visible(true);
    QVERIFY(panel->isVisible());
}

void Form1Test::log_is_hidden_and_append_only() {
    AppHarness harness;
    TForm1& form = harness.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QPlainTextEdit* log = form.mmoLog();
    QCOMPARE(log->objectName(), QString("mmoLog"));
    const QRect visible = form.centralWidget()->rect();
    QVERIFY(!visible.intersects(log->geometry()));
    QVERIFY(log->isReadOnly());
    form.append_log("#1.3: first");
    form.append_log("second");
    QCOMPARE(form.log_text(), QString("#1.3: first\nsecond"));
}

void Form1Test::options_dialog_drives_the_encoder_preview() {
    AppHarness harness;
    write_text(harness.paths.settings_file, "[Options]\nShow_Preview=1\n");
    TForm1& form = harness.open();
    velmora::app::TForm2 about(harness.desktop, &form);
    velmora::settings::TForm5 options(form.ini(), harness.boxes, &form);
    QVERIFY(!harness.encoder.preview());
    form.attach_dialogs(about, options);
    QVERIFY(harness.encoder.preview());
    emit options.previewSwitched(false);
    QVERIFY(!harness.encoder.preview());
}

void Form1Test::commands_show_the_dialogs_modally_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("about_box");
    QTest::newRow("关于软件") << "N12" << true;
    QTest::newRow("选项设置") << "N19" << false;
    QTest::newRow("toolbar 选项") << "btnOption" << false;
}

void Form1Test::commands_show_the_dialogs_modally() {
    QFETCH(QString, control);
    QFETCH(bool, about_box);
    AppHarness harness;
    TForm1& form = harness.open();
    velmora::app::TForm2 about(harness.desktop, &form);
    velmora::settings::TForm5 options(form.ini(), harness.boxes, &form);
    form.attach_dialogs(about, options);
    QDialog* expected = about_box ? static_cast<QDialog*>(&about) : &options;
    QWidget* shown = nullptr;
    QTimer::singleShot(0, &form, [&] {
        shown = QApplication::activeModalWidget();
        if (shown != nullptr) {
            static_cast<QDialog*>(shown)->reject();
        }
    });
    if (QAction* item = form.action(control)) {
        item->trigger();
    } else {
        form.tool_button(control)->click();
    }
    QCOMPARE(shown, static_cast<QWidget*>(expected));
    QVERIFY(!expected->isVisible());
}

void Form1Test::closing_proceeds_without_messages_data() {
    QTest::addColumn<bool>("from_menu");
    QTest::newRow("退出") << true;
    QTest::newRow("window close") << false;
}

void Form1Test::closing_proceeds_without_messages() {
    QFETCH(bool, from_menu);
    AppHarness harness;
    TForm1& form = harness.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QStringList ini_before = ini_lines(harness.paths.settings_file);
    if (from_menu) {
        form.action("N5")->trigger();
    } else {
        QVERIFY(form.close());
    }
    QVERIFY(!form.isVisible());
    QVERIFY(harness.boxes.shown.isEmpty());
    QCOMPARE(ini_lines(harness.paths.settings_file), ini_before);  // nothing is saved
    harness.form.reset();
}

void Form1Test::closing_during_a_run_ends_the_running_tasks() {
    // Tasks that convert until they are told to stop.
    std::atomic<int> started{0};
    std::atomic<int> ended{0};
    velmora::media::EngineBackend backend;
    backend.transcode =
        [&](const velmora::media::TInputOptions&, const velmora::media::TOutputOptions&,
            const velmora::media::EngineEnvironment&, velmora::media::TranscodeControl& control,
            const velmora::media::TranscodeHooks&, int) {
            ++started;
            while (!control.stop_requested()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            ++ended;
            velmora::media::TranscodeResult result;
            result.stopped = true;
            return result;
        };
    AppHarness harness({}, std::move(backend));
    TForm1& form = harness.open();
    std::string error;
    QVERIFY(harness.encoder.load_libraries(harness.folder().toStdString(), error));
    for (int i = 0; i < 2; ++i) {
        velmora::media::TInputOptions input;
        velmora::media::TOutputOptions output;
        const int task =
            harness.encoder.add_task(harness.folder().toStdString() + "/in.avi", input, error);
        QVERIFY2(task >= 0, error.c_str());
        QVERIFY2(harness.encoder.set_output_file(
                     task, harness.folder().toStdString() + "/out" + std::to_string(i) + ".avi",
                     output, error),
                 error.c_str());
    }
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    harness.encoder.start(2);
    QTRY_COMPARE_WITH_TIMEOUT(started.load(), 2, 10000);

    QVERIFY(form.close());

    QCOMPARE(ended.load(), 2);
    QVERIFY(!harness.encoder.running());
    QVERIFY(harness.boxes.shown.isEmpty());
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
