// `velmora --convert` run as a process on the built program.
#include <QProcess>
#include <QTest>

#include <filesystem>

#include "media/probe.h"
#include "platform/desktop_services.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace {

struct Finished {
    int exit_code = -1;
    QString out;
    QString err;
};

Finished run_velmora(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(VELMORA_EXECUTABLE), arguments);
    Finished finished;
    if (!process.waitForFinished(180000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return finished;
    }
    finished.exit_code = process.exitCode();
    finished.out = QString::fromUtf8(process.readAllStandardOutput());
    finished.err = QString::fromUtf8(process.readAllStandardError());
    return finished;
}

QString q(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

}  // namespace

class ConvertCommandTest : public QObject {
    Q_OBJECT
  private slots:
    void converts_two_files_with_the_preset_and_its_option_lists();
    void a_bad_file_makes_the_exit_status_non_zero();
    void unusable_arguments_are_refused_data();
    void unusable_arguments_are_refused();
    void help_documents_the_mode();
    void the_notification_sound_lies_beside_the_program();
};

void ConvertCommandTest::converts_two_files_with_the_preset_and_its_option_lists() {
    velmora::testing::TempDir dir;
    QVERIFY(velmora::testing::make_av_clip(dir.path() / "clip.mp4", 2.0));
    QVERIFY(velmora::testing::make_audio_clip(dir.path() / "tone.wav", 1.0));
    const auto out = dir.path() / "out";
    // An existing output is kept: the new one is numbered.
    std::filesystem::create_directories(out);
    velmora::testing::write_file(out / "clip.avi", "keep me");

    const Finished run = run_velmora({"--convert", "--preset", "100", "--out", q(out), "--threads",
                                      "2", q(dir.path() / "clip.mp4"), q(dir.path() / "tone.wav")});
    QVERIFY2(run.exit_code == 0, qPrintable(run.out + run.err));
    QVERIFY2(run.out.contains("[1/2] clip.mp4: 100%"), qPrintable(run.out));
    QVERIFY2(run.out.contains("[2/2] tone.wav: 100%"), qPrintable(run.out));
    QVERIFY(run.out.contains("converted 2, failed 0, skipped 0"));

    QCOMPARE(velmora::testing::read_file(out / "clip.avi"), std::string("keep me"));
    const velmora::media::ProbeResult clip =
        velmora::media::probe_file((out / "clip_1.avi").string());
    QVERIFY2(clip.ok, clip.error_text.c_str());
    const QString info = QString::fromStdString(clip.info_text);
    // Preset 100: MPEG-4 video at the source size, MP3 sound at 44100 Hz.
    QVERIFY2(info.contains("mpeg4") && info.contains("320x240") && info.contains("mp3") &&
                 info.contains("44100 Hz"),
             qPrintable(info));
    QVERIFY(velmora::media::probe_file((out / "tone.avi").string()).ok);
}

void ConvertCommandTest::a_bad_file_makes_the_exit_status_non_zero() {
    velmora::testing::TempDir dir;
    QVERIFY(velmora::testing::make_av_clip(dir.path() / "clip.mp4", 0.5));
    velmora::testing::write_file(dir.path() / "bad.mp4", "not media");
    const auto out = dir.path() / "out";
    const Finished run = run_velmora({"--convert", "--preset", "101", "--out", q(out),
                                      q(dir.path() / "bad.mp4"), q(dir.path() / "clip.mp4")});
    QCOMPARE(run.exit_code, 1);
    QVERIFY2(run.err.contains("***File load error: "), qPrintable(run.err));
    QVERIFY(run.out.contains("converted 1, failed 0, skipped 1"));
    QVERIFY(velmora::media::probe_file((out / "clip.mp4").string()).ok);
}

void ConvertCommandTest::unusable_arguments_are_refused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no preset") << QStringList{"--convert", "a.mp4"};
    QTest::newRow("unknown preset") << QStringList{"--convert", "--preset", "99", "a.mp4"};
    QTest::newRow("preset not a number") << QStringList{"--convert", "--preset", "1x", "a.mp4"};
    QTest::newRow("no file") << QStringList{"--convert", "--preset", "100"};
    QTest::newRow("threads out of range")
        << QStringList{"--convert", "--preset", "100", "--threads", "20", "a.mp4"};
    QTest::newRow("unknown option") << QStringList{"--convert", "--preset", "100", "--x", "a"};
}

void ConvertCommandTest::unusable_arguments_are_refused() {
    QFETCH(QStringList, arguments);
    const Finished run = run_velmora(arguments);
    QCOMPARE(run.exit_code, 2);
    QVERIFY(run.err.contains("Usage:"));
}

void ConvertCommandTest::help_documents_the_mode() {
    const Finished run = run_velmora({"--help"});
    QCOMPARE(run.exit_code, 0);
    QVERIFY(run.out.contains("--convert --preset CODE [--out DIR] [--threads N] FILE..."));
}

void ConvertCommandTest::the_notification_sound_lies_beside_the_program() {
    const std::filesystem::path sound =
        std::filesystem::path(VELMORA_EXECUTABLE).parent_path() / "sounds" / "ring001.wav";
    const velmora::media::ProbeResult probe = velmora::media::probe_file(sound.string());
    QVERIFY2(probe.ok, probe.error_text.c_str());
    const QString info = QString::fromStdString(probe.info_text);
    QVERIFY2(info.contains("pcm_s16le") && info.contains("44100 Hz"), qPrintable(info));
    QVERIFY(probe.duration_us > 500000 && probe.duration_us < 2000000);

    // The desktop services play it without waiting; a missing file plays nothing.
    velmora::platform::SystemDesktopServices desktop;
    QVERIFY(desktop.play_sound_async(QString::fromStdString(sound.string())));
    QVERIFY(!desktop.play_sound_async(
        QString::fromStdString((sound.parent_path() / "none.wav").string())));
}

QTEST_MAIN(ConvertCommandTest)
#include "convert_command_test.moc"
