// Renaming a job's output in the window: the "重命名" button, the "重新命名" menu item and the
// double click open the in-place editor; leaving it commits the name.
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/widgets/pass_focus_line_edit.h"
#include "app_harness.h"
#include "job_rows.h"

using velmora::app::TForm1;
using velmora::testing::append_job;
using velmora::testing::AppHarness;
using velmora::testing::cell;
using velmora::testing::choose_preset;
namespace jobs = velmora::jobs;

namespace {

const QString kNoSelection = QStringLiteral("information|提示|请先选中您需要重命名的项目！");

// Two jobs under the MP3 preset (200), the second selected: "/in/movie.wav" -> "movie.mp3"
// and "/in/song.wav" -> "song.mp3".
struct TwoJobs {
    explicit TwoJobs(AppHarness& harness) : form(harness.open()) {
        choose_preset(form, 200);
        append_job(form, "/in/movie.wav", "movie.mp3", 200, form.current_option_indices());
        row = append_job(form, "/in/song.wav", "song.mp3", 200, form.current_option_indices());
        form.lvFiles()->select_row(row);
    }
    QString output_record(int r) {
        return QString::fromStdString(
            form.companion_table().at(static_cast<size_t>(r)).OO1.FileName);
    }
    TForm1& form;
    int row = -1;
};

}  // namespace

class Form1RenameTest : public QObject {
    Q_OBJECT
  private slots:
    void without_a_selection_the_commands_tell_and_the_double_click_does_nothing();
    void editor_opens_over_the_output_cell_with_the_name_without_extension();
    void leaving_the_editor_commits_name_with_the_format_extension();
    void empty_text_keeps_the_editor_until_a_name_is_typed();
    void taken_or_unsafe_names_are_refused_and_the_editor_stays_data();
    void taken_or_unsafe_names_are_refused_and_the_editor_stays();
    void double_click_on_a_row_renames_it();
    void pop_ups_and_other_windows_do_not_end_the_edit();
    void edit_is_dropped_when_its_job_is_no_longer_selected_data();
    void edit_is_dropped_when_its_job_is_no_longer_selected();
};

void Form1RenameTest::without_a_selection_the_commands_tell_and_the_double_click_does_nothing() {
    AppHarness harness;
    TForm1& form = harness.open();
    append_job(form, "/in/movie.wav", "movie.mp3", 200, "000000000000");
    QCOMPARE(form.lvFiles()->selected_index(), -1);
    form.bsSkinButton21Click();
    form.N26Click();
    form.lvFilesDblClick();
    QCOMPARE(harness.boxes.shown, QStringList({kNoSelection, kNoSelection}));
    QVERIFY(form.edt()->isHidden());
    QCOMPARE(cell(form, 0, jobs::OutputFile), QString("movie.mp3"));
}

void Form1RenameTest::editor_opens_over_the_output_cell_with_the_name_without_extension() {
    AppHarness harness;
    TwoJobs jobs_(harness);
    TForm1& form = jobs_.form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    for (int way = 0; way < 2; ++way) {
        if (way == 0) {
            form.findChild<QPushButton*>("bsSkinButton21")->setEnabled(true);
            QTest::mouseClick(form.findChild<QPushButton*>("bsSkinButton21"), Qt::LeftButton);
        } else {
            form.N26Click();
        }
        QLineEdit* editor = form.edt();
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->parentWidget(), form.lvFiles()->viewport());
        const int column = jobs::OutputFile + 1;
        QCOMPARE(editor->geometry(),
                 QRect(form.lvFiles()->columnViewportPosition(column),
                       form.lvFiles()->rowViewportPosition(jobs_.row),
                       form.lvFiles()->columnWidth(column), form.lvFiles()->rowHeight(jobs_.row)));
        QCOMPARE(editor->text(), QString("song"));
        QVERIFY(editor->hasFocus());
        // Leaving it unchanged keeps the name.
        form.lvFiles()->setFocus();
        QVERIFY(editor->isHidden());
        QCOMPARE(cell(form, jobs_.row, jobs::OutputFile), QString("song.mp3"));
    }
    QVERIFY(harness.boxes.shown.isEmpty());
}

void Form1RenameTest::leaving_the_editor_commits_name_with_the_format_extension() {
    AppHarness harness;
    TwoJobs jobs_(harness);
    TForm1& form = jobs_.form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.bsSkinButton21Click();
    QLineEdit* editor = form.edt();
    editor->selectAll();
    QTest::keyClicks(editor, "holiday");
    // The focus moves on: the edit is committed.
    form.lvFiles()->setFocus();
    QVERIFY(editor->isHidden());
    QCOMPARE(cell(form, jobs_.row, jobs::OutputFile), QString("holiday.mp3"));
    QCOMPARE(jobs_.output_record(jobs_.row),
             form.Video_OutPut_Folder_Edit()->text() + "/holiday.mp3");
    QCOMPARE(cell(form, 0, jobs::OutputFile), QString("movie.mp3"));
    QCOMPARE(form.lvFiles()->caption(jobs_.row), QString("/in/song.wav"));
    QVERIFY(harness.boxes.shown.isEmpty());
}

void Form1RenameTest::empty_text_keeps_the_editor_until_a_name_is_typed() {
    AppHarness harness;
    TwoJobs jobs_(harness);
    TForm1& form = jobs_.form;
    form.bsSkinButton21Click();
    form.edt()->clear();
    form.edtExit();
    QVERIFY(!form.edt()->isHidden());
    QCOMPARE(cell(form, jobs_.row, jobs::OutputFile), QString("song.mp3"));
    QVERIFY(jobs_.output_record(jobs_.row).isEmpty());
    form.edt()->setText("a.b");
    form.edtExit();
    QVERIFY(form.edt()->isHidden());
    QCOMPARE(cell(form, jobs_.row, jobs::OutputFile), QString("a.b.mp3"));
    // A second exit of the hidden editor changes nothing more.
    form.edt()->setText("other");
    form.edtExit();
    QCOMPARE(cell(form, jobs_.row, jobs::OutputFile), QString("a.b.mp3"));
    QVERIFY(harness.boxes.shown.isEmpty());
}

void Form1RenameTest::taken_or_unsafe_names_are_refused_and_the_editor_stays_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("another job's output")
        << "movie"
        << "information|提示|列表中的其他项目已使用这个输出文件名，请重新输入！";
    QTest::newRow("own input") << "song"
                               << "information|提示|输出文件不能是它的输入文件，请重新输入！";
    QTest::newRow("path separator") << "../song"
                                    << "information|提示|输出文件名中不能包含“/”，请重新输入！";
    QTest::newRow("nothing wrong") << "song" << QString();
}

void Form1RenameTest::taken_or_unsafe_names_are_refused_and_the_editor_stays() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    AppHarness harness;
    TForm1& form = harness.open();
    choose_preset(form, 200);
    const QString folder = form.Video_OutPut_Folder_Edit()->text();
    append_job(form, "/in/movie.wav", "movie.mp3", 200, form.current_option_indices());
    // The job's input lies in the output folder under the name its output would get, except in
    // the last case.
    const QString input = message.isEmpty() ? "/in/song.mp3" : folder + "/song.mp3";
    const int row = append_job(form, input, "tune.mp3", 200, form.current_option_indices());
    form.lvFiles()->select_row(row);
    form.bsSkinButton21Click();
    form.edt()->setText(typed);
    form.edtExit();
    if (message.isEmpty()) {
        QVERIFY(form.edt()->isHidden());
        QCOMPARE(cell(form, row, jobs::OutputFile), QString("song.mp3"));
        QVERIFY(harness.boxes.shown.isEmpty());
        return;
    }
    QCOMPARE(harness.boxes.shown, QStringList({message}));
    QVERIFY(!form.edt()->isHidden());
    QCOMPARE(form.edt()->text(), typed);
    QCOMPARE(cell(form, row, jobs::OutputFile), QString("tune.mp3"));
    QCOMPARE(cell(form, 0, jobs::OutputFile), QString("movie.mp3"));
    QVERIFY(form.companion_table().at(static_cast<size_t>(row)).OO1.FileName.empty());
    // Another name then goes through.
    form.edt()->setText("tune2");
    form.edtExit();
    QVERIFY(form.edt()->isHidden());
    QCOMPARE(cell(form, row, jobs::OutputFile), QString("tune2.mp3"));
}

void Form1RenameTest::double_click_on_a_row_renames_it() {
    AppHarness harness;
    TwoJobs jobs_(harness);
    TForm1& form = jobs_.form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    // The edit group is off (no add has run): the double click works all the same.
    QWidget* viewport = form.lvFiles()->viewport();
    const QRect first =
        form.lvFiles()->visualRect(form.lvFiles()->model()->index(0, jobs::OutputFile + 1));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, first.center());
    QCOMPARE(form.lvFiles()->selected_index(), 0);
    QVERIFY(form.edt()->isVisible());
    QCOMPARE(form.edt()->text(), QString("movie"));
    form.edt()->setText("film");
    form.lvFiles()->setFocus();
    QCOMPARE(cell(form, 0, jobs::OutputFile), QString("film.mp3"));
    QCOMPARE(cell(form, jobs_.row, jobs::OutputFile), QString("song.mp3"));
}

void Form1RenameTest::pop_ups_and_other_windows_do_not_end_the_edit() {
    AppHarness harness;
    TwoJobs jobs_(harness);
    TForm1& form = jobs_.form;
    form.bsSkinButton21Click();
    form.edt()->setText("holiday");
    for (Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent leave(QEvent::FocusOut, reason);
        QApplication::sendEvent(form.edt(), &leave);
        QVERIFY(!form.edt()->isHidden());
        QCOMPARE(cell(form, jobs_.row, jobs::OutputFile), QString("song.mp3"));
    }
    QFocusEvent leave(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(form.edt(), &leave);
    QCOMPARE(cell(form, jobs_.row, jobs::OutputFile), QString("holiday.mp3"));
}

void Form1RenameTest::edit_is_dropped_when_its_job_is_no_longer_selected_data() {
    QTest::addColumn<bool>("remove");
    QTest::newRow("another job selected") << false;
    QTest::newRow("its row removed") << true;
}

void Form1RenameTest::edit_is_dropped_when_its_job_is_no_longer_selected() {
    QFETCH(bool, remove);
    AppHarness harness;
    TwoJobs jobs_(harness);
    TForm1& form = jobs_.form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.bsSkinButton21Click();
    form.edt()->setText("holiday");
    // A command that leaves the focus in the editor changes the selection.
    if (remove) {
        form.lvFiles()->delete_row(jobs_.row);
    }
    form.lvFiles()->select_row(0);
    QVERIFY(form.edt()->isHidden());
    form.lvFiles()->setFocus();
    form.edtExit();
    QCOMPARE(cell(form, 0, jobs::OutputFile), QString("movie.mp3"));
    if (!remove) {
        QCOMPARE(cell(form, jobs_.row, jobs::OutputFile), QString("song.mp3"));
    }
    QVERIFY(jobs_.output_record(0).isEmpty());
}

QTEST_MAIN(Form1RenameTest)
#include "form1_rename_test.moc"
