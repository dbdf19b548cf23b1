// The options dialog driven offscreen: its start-up read, OK, Cancel and the preview switch.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <memory>

#include <sys/resource.h>

#include "platform/app_paths.h"
#include "platform/message_boxes.h"
#include "settings/TForm5.h"
#include "settings/settings_rules.h"
#include "settings/skin.h"
#include "support/temp_dir.h"

using velmora::media::TThreadPriority;
using velmora::settings::AfterDone;
using velmora::settings::IniFile;
using velmora::settings::SkinData;
using velmora::settings::TForm5;
using velmora::testing::read_file;
using velmora::testing::TempDir;
using velmora::testing::write_file;

namespace {

// Records the boxes instead of showing them.
class RecordingBoxes : public velmora::platform::MessageBoxes {
  public:
    QStringList errors;
    int others = 0;
    void information(QWidget*, const QString&, const QString&) override { ++others; }
    void warning(QWidget*, const QString&, const QString&) override { ++others; }
    void error(QWidget*, const QString&, const QString& text) override { errors << text; }
};

// Files this process writes may not grow beyond their size now; restored at scope end.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(std::uintmax_t bytes) {
        ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
};

QRadioButton* radio(QWidget& dialog, const QString& text) {
    for (auto* button : dialog.findChildren<QRadioButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    qFatal("no radio button %s", qPrintable(text));
}

QPushButton* push_button(QWidget& dialog, const QString& text) {
    for (auto* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    qFatal("no button %s", qPrintable(text));
}

QComboBox* thread_list(QWidget& dialog) {
    return dialog.findChild<QComboBox*>();
}
QCheckBox* preview_box(QWidget& dialog) {
    return dialog.findChild<QCheckBox*>();
}

// Texts of the checked radio buttons, in screen order of their groups.
QStringList checked_texts(QWidget& dialog) {
    QStringList texts;
    for (const char* group : {"转换工作完成后", "如果输出文件存在时", "转换时CPU利用方式"}) {
        for (auto* box : dialog.findChildren<QGroupBox*>()) {
            if (box->title() != QString::fromUtf8(group)) {
                continue;
            }
            for (auto* button : box->findChildren<QRadioButton*>()) {
                if (button->isChecked()) {
                    texts << button->text();
                }
            }
        }
    }
    return texts;
}

const QStringList kDesignChecks = {QStringLiteral("自动打开输出文件夹"),
                                   QStringLiteral("自动重命名输出文件"),
                                   QStringLiteral("正常优先级进行")};

const std::string kAllFive =
    "[Options]\nThread_Count=7\nAfter_Done=1\nThread_Priority=1\nOverwrite_File=0\n"
    "Show_Preview=1\n";

}  // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void firstStartLeavesExactlyTheListedFile() {
        TempDir tmp;
        const auto paths = velmora::platform::AppPaths::inside(QString::fromStdString(tmp.path()));
        const IniFile ini(paths.settings_file.toStdString());
        const std::string out = paths.default_output_folder.toStdString();
        RecordingBoxes boxes;

        QCOMPARE(velmora::settings::read_output_folder(ini, out), out);
        QCOMPARE(velmora::settings::read_skin_index(ini), 0);
        TForm5 dialog(ini, boxes);

        QCOMPARE(QString::fromStdString(read_file(ini.path())),
                 QString::fromStdString("[OutPath]\nOutPath=" + out +
                                        "\n[Skin]\nSetSkin=0\n[Options]\nThread_Count=0\n"
                                        "After_Done=0\nThread_Priority=3\nOverwrite_File=1\n"
                                        "Show_Preview=0\n"));
        QVERIFY(std::filesystem::is_directory(out));
        QVERIFY(boxes.errors.isEmpty());
        QCOMPARE(dialog.thread_count_text(), QStringLiteral("1"));
        QCOMPARE(checked_texts(dialog), kDesignChecks);
        QVERIFY(!dialog.preview_checked());
    }

    void storedValuesSelectTheirControls() {
        TempDir tmp;
        write_file(tmp.path() / "option.ini", kAllFive);
        RecordingBoxes boxes;
        TForm5 dialog(IniFile(tmp.path() / "option.ini"), boxes);

        QCOMPARE(dialog.thread_count_text(), QStringLiteral("7"));
        QCOMPARE(checked_texts(dialog),
                 (QStringList{"自动关闭计算机", "直接覆盖输出文件", "最低优先级进行"}));
        QCOMPARE(dialog.after_done(), AfterDone::ShutDown);
        QCOMPARE(dialog.thread_priority(), TThreadPriority::tpLowest);
        QVERIFY(dialog.overwrite_chosen());
        QVERIFY(dialog.preview_checked());
        QCOMPARE(read_file(tmp.path() / "option.ini"), kAllFive);  // nothing rewritten
    }

    void priorityButtonsMapToTheirValues_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("priority");
        QTest::newRow("idle") << "0"
                              << "系统空闲时进行" << int(TThreadPriority::tpIdle);
        QTest::newRow("lowest") << "1"
                                << "最低优先级进行" << int(TThreadPriority::tpLowest);
        QTest::newRow("lower") << "2"
                               << "较低优先级进行" << int(TThreadPriority::tpLower);
        QTest::newRow("normal") << "3"
                                << "正常优先级进行" << int(TThreadPriority::tpNormal);
    }

    void priorityButtonsMapToTheirValues() {
        QFETCH(QString, stored);
        QFETCH(QString, button);
        QFETCH(int, priority);
        TempDir tmp;
        const auto file = tmp.path() / "option.ini";
        write_file(file, "[Options]\nThread_Priority=" + stored.toStdString() + "\n");
        RecordingBoxes boxes;
        TForm5 dialog{IniFile(file), boxes};
        QVERIFY(radio(dialog, button)->isChecked());
        QCOMPARE(int(dialog.thread_priority()), priority);

        // Clicking the button and OK stores the same value again.
        radio(dialog, QStringLiteral("系统空闲时进行"))->click();
        radio(dialog, button)->click();
        push_button(dialog, QStringLiteral("确定"))->click();
        QCOMPARE(IniFile(file).read("Options", "Thread_Priority", ""), stored.toStdString());
    }

    void aFailedWriteEndsTheStartUpReadAtThatKey() {
        TempDir tmp;
        const auto file = tmp.path() / "option.ini";
        // Thread_Priority is missing, so its default must be written, which fails.
        write_file(file,
                   "[Options]\nThread_Count=7\nAfter_Done=2\nOverwrite_File=0\nShow_Preview=1\n");
        RecordingBoxes boxes;
        std::unique_ptr<TForm5> dialog;
        {
            const FileSizeLimit no_growth(std::filesystem::file_size(file));
            dialog = std::make_unique<TForm5>(IniFile(file), boxes);
        }
        QCOMPARE(boxes.errors,
                 QStringList{QString::fromStdString("Unable to write to " + file.string())});
        QCOMPARE(dialog->thread_count_text(), QStringLiteral("7"));
        QCOMPARE(checked_texts(*dialog),
                 (QStringList{" 播放提示音乐", "自动重命名输出文件", "正常优先级进行"}));
        QVERIFY(!dialog->preview_checked());
    }

    void anUnwritableFileKeepsTheDesignState() {
        TempDir tmp;
        write_file(tmp.path() / "afile", "x");
        const auto file = tmp.path() / "afile" / "option.ini";
        RecordingBoxes boxes;
        TForm5 dialog(IniFile(file), boxes);
        QCOMPARE(boxes.errors,
                 QStringList{QString::fromStdString("Unable to write to " + file.string())});
        QCOMPARE(dialog.thread_count_text(), QStringLiteral("1"));
        QCOMPARE(checked_texts(dialog), kDesignChecks);
    }

    void okWritesTheFiveKeysInItsOrderAndCloses() {
        TempDir tmp;
        const auto file = tmp.path() / "option.ini";
        RecordingBoxes boxes;
        TForm5 dialog(IniFile(file), boxes);
        std::filesystem::remove(file);  // OK's own order shows on a fresh file
        dialog.show();
        thread_list(dialog)->setCurrentIndex(11);
        radio(dialog, QStringLiteral(" 播放提示音乐"))->click();
        radio(dialog, QStringLiteral("较低优先级进行"))->click();
        radio(dialog, QStringLiteral("直接覆盖输出文件"))->click();
        preview_box(dialog)->click();
        push_button(dialog, QStringLiteral("确定"))->click();

        QCOMPARE(read_file(file),
                 std::string("[Options]\nThread_Count=12\nAfter_Done=2\nShow_Preview=1\n"
                             "Thread_Priority=2\nOverwrite_File=0\n"));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void okWithoutChangesKeepsTheValuesButTurnsCountZeroIntoOne() {
        TempDir tmp;
        const auto file = tmp.path() / "option.ini";
        write_file(file,
                   "; mine\n[options]\nthread_count=0\nAfter_Done=3\nThread_Priority=0\n"
                   "Overwrite_File=1\nShow_Preview=0\nOther=kept\n");
        RecordingBoxes boxes;
        TForm5 dialog(IniFile(file), boxes);
        push_button(dialog, QStringLiteral("确定"))->click();
        QCOMPARE(read_file(file),
                 std::string("; mine\n[options]\nthread_count=1\nAfter_Done=3\nThread_Priority=0\n"
                             "Overwrite_File=1\nShow_Preview=0\nOther=kept\n"));
    }

    void aFailedWriteOnOkKeepsTheDialogOpen() {
        TempDir tmp;
        const auto file = tmp.path() / "option.ini";
        write_file(file, kAllFive);
        RecordingBoxes boxes;
        TForm5 dialog(IniFile(file), boxes);
        dialog.show();
        thread_list(dialog)->setCurrentIndex(11);  // "12": the file must grow
        radio(dialog, QStringLiteral("不进行任何操作"))->click();
        {
            const FileSizeLimit no_growth(std::filesystem::file_size(file));
            push_button(dialog, QStringLiteral("确定"))->click();
        }
        QCOMPARE(boxes.errors,
                 QStringList{QString::fromStdString("Unable to write to " + file.string())});
        QVERIFY(dialog.isVisible());
        QCOMPARE(read_file(file), kAllFive);  // nothing after the failed key was written

        // The same OK succeeds once the file can be written again.
        push_button(dialog, QStringLiteral("确定"))->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(IniFile(file).read("Options", "After_Done", ""), std::string("3"));
    }

    void cancelWritesNothingButTheChoicesStayInForce() {
        TempDir tmp;
        const auto file = tmp.path() / "option.ini";
        RecordingBoxes boxes;
        bool encoder_preview = false;  // stands for the encoder's Preview switch
        TForm5 dialog(IniFile(file), boxes);
        QObject::connect(&dialog, &TForm5::previewSwitched,
                         [&encoder_preview](bool on) { encoder_preview = on; });
        const std::string before = read_file(file);
        dialog.show();
        radio(dialog, QStringLiteral("自动关闭计算机"))->click();
        thread_list(dialog)->setCurrentIndex(18);
        preview_box(dialog)->click();
        QVERIFY(encoder_preview);  // at once, before any OK
        push_button(dialog, QStringLiteral("取消"))->click();

        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(read_file(file), before);
        QCOMPARE(dialog.after_done(), AfterDone::ShutDown);
        QCOMPARE(dialog.thread_count_text(), QStringLiteral("19"));
        QVERIFY(encoder_preview);

        // Shown again, it shows the controls as they were left.
        dialog.show();
        QVERIFY(radio(dialog, QStringLiteral("自动关闭计算机"))->isChecked());
        preview_box(dialog)->click();
        QVERIFY(!encoder_preview);
    }

    void thePreviewSignalCarriesTheStartUpRead() {
        TempDir tmp;
        const auto file = tmp.path() / "option.ini";
        write_file(file, "[Options]\nShow_Preview=1\n");
        RecordingBoxes boxes;
        TForm5 dialog(IniFile(file), boxes);
        QVERIFY(dialog.preview_checked());
        QSignalSpy spy(&dialog, &TForm5::previewSwitched);
        preview_box(dialog)->click();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), false);
    }

    void windowAndControlsAreAsDesigned() {
        TempDir tmp;
        RecordingBoxes boxes;
        QWidget owner;
        owner.setGeometry(140, 90, 804, 541);
        owner.show();
        TForm5 dialog(IniFile(tmp.path() / "option.ini"), boxes, &owner);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        QCOMPARE(dialog.objectName(), QStringLiteral("TForm5"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("选项"));
        QCOMPARE(dialog.size(), QSize(528, 471));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(
            (dialog.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength() <=
            2);

        // Radio buttons of each group, top to bottom.
        const auto column = [&](const char* title) {
            QStringList texts;
            for (auto* box : dialog.findChildren<QGroupBox*>()) {
                if (box->title() == QString::fromUtf8(title)) {
                    auto buttons = box->findChildren<QRadioButton*>();
                    std::sort(buttons.begin(), buttons.end(),
                              [](auto* a, auto* b) { return a->y() < b->y(); });
                    for (auto* b : buttons) {
                        texts << b->text();
                    }
                }
            }
            return texts;
        };
        QCOMPARE(column("转换工作完成后"), (QStringList{"自动打开输出文件夹", "自动关闭计算机",
                                                        " 播放提示音乐", "不进行任何操作"}));
        QCOMPARE(column("如果输出文件存在时"),
                 (QStringList{"直接覆盖输出文件", "自动重命名输出文件"}));
        QCOMPARE(column("转换时CPU利用方式"), (QStringList{"系统空闲时进行", "较低优先级进行",
                                                           "最低优先级进行", "正常优先级进行"}));

        // Groups two by two; the buttons below them at the bottom right.
        const auto group_at = [&](const char* title) {
            for (auto* box : dialog.findChildren<QGroupBox*>()) {
                if (box->title() == QString::fromUtf8(title)) {
                    return box->geometry();
                }
            }
            return QRect();
        };
        const QRect top_left = group_at("转换工作完成后");
        const QRect top_right = group_at("如果输出文件存在时");
        const QRect bottom_left = group_at("转换时CPU利用方式");
        const QRect bottom_right = group_at("转换参数");
        QVERIFY(top_left.right() < top_right.left() && top_left.bottom() < bottom_left.top());
        QVERIFY(bottom_left.right() < bottom_right.left() &&
                top_right.bottom() < bottom_right.top());
        const QRect ok = push_button(dialog, QStringLiteral("确定"))->geometry();
        const QRect cancel = push_button(dialog, QStringLiteral("取消"))->geometry();
        QVERIFY(ok.top() > bottom_right.bottom() && ok.right() < cancel.left());
        QVERIFY(cancel.right() > dialog.width() * 3 / 4);

        QComboBox* list = thread_list(dialog);
        QCOMPARE(list->count(), 19);
        QCOMPARE(list->itemText(0), QStringLiteral("1"));
        QCOMPARE(list->itemText(18), QStringLiteral("19"));
        QCOMPARE(list->maxVisibleItems(), 8);
        QVERIFY(!list->isEditable());
        QCOMPARE(preview_box(dialog)->text(), QStringLiteral("转换时进行实时视频预览"));

        // The radio buttons wear the second skin.
        const QString second = SkinData::second_skins().style_sheet();
        QVERIFY(!second.isEmpty());
        for (auto* button : dialog.findChildren<QRadioButton*>()) {
            QCOMPARE(button->styleSheet(), second);
        }
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_test.moc"
