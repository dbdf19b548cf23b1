// The program's command line without a window: "--list-presets" and "--help".
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <sstream>

#include "presets/presets_listing.h"

namespace {

struct Run {
    int exit_code = -1;
    QString out;
    QString err;
};

// Runs the built program with one argument and nothing to show a window on: creating a window
// would end it with an error.
Run run_program(const QString& argument) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VELMORA_EXECUTABLE), {argument});
    Run run;
    if (!program.waitForFinished(60000)) {
        program.kill();
        program.waitForFinished();
        return run;
    }
    run.exit_code = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.out = QString::fromUtf8(program.readAllStandardOutput());
    run.err = QString::fromUtf8(program.readAllStandardError());
    return run;
}

}  // namespace

class ListPresetsTest : public QObject {
    Q_OBJECT
  private slots:
    void listing_is_printed_without_a_window();
    void help_names_the_listing();
};

void ListPresetsTest::listing_is_printed_without_a_window() {
    const Run run = run_program("--list-presets");
    QCOMPARE(run.exit_code, 0);
    QCOMPARE(run.err, QString());
    std::ostringstream expected;
    velmora::presets::write_presets_listing(expected);
    const QString listing = QString::fromStdString(expected.str());
    QStringList lines = run.out.split('\n');
    QCOMPARE(lines.takeLast(), QString());  // the last line ends too
    QCOMPARE(lines.size(), 288);
    const QStringList expected_lines = listing.split('\n');
    QCOMPARE(lines.first(), expected_lines.first());
    QCOMPARE(lines.last(), expected_lines[287]);
    QVERIFY(lines.first().startsWith("100\t常用视频\tAVI - 音频视频交错格式(*.avi)\t.avi\t"));
    QVERIFY(lines.last().startsWith("2812\t"));
    QCOMPARE(run.out, listing);
}

void ListPresetsTest::help_names_the_listing() {
    const Run run = run_program("--help");
    QCOMPARE(run.exit_code, 0);
    QVERIFY(run.out.contains("--list-presets"));
    QVERIFY(run.out.contains("--help"));
}

QTEST_GUILESS_MAIN(ListPresetsTest)
#include "list_presets_test.moc"
