// The preview pane of the main window on the real player: selecting a job opens it paused, the
// buttons, the seek slider, the end of a file, mute, a click beside the rows, and snapshots with
// the settings button's menu.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSocketNotifier>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app_harness.h"
#include "job_rows.h"
#include "jobs/job_list_view.h"
#include "media/player.h"
#include "preview/screen_panel.h"
#include "settings/ini_file.h"
#include "support/media_fixtures.h"

using velmora::app::TForm1;
using velmora::testing::AppHarness;

namespace {

constexpr int kWaitMs = 10000;

struct Rgb {
    int r, g, b;
};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kLime{0, 255, 0};

bool near(const Rgb& a, const Rgb& b) {
    return std::abs(a.r - b.r) <= 24 && std::abs(a.g - b.g) <= 24 && std::abs(a.b - b.b) <= 24;
}

Rgb pixel(const velmora::media::RgbPicture& picture, int x, int y) {
    if (x >= picture.width || y >= picture.height) {
        return {-100, -100, -100};
    }
    const uint8_t* p = &picture.rgb[(static_cast<size_t>(y) * picture.width + x) * 3];
    return {p[0], p[1], p[2]};
}

// The colour in the top-left quarter of the picture shown now.
Rgb top_left(TForm1& form) {
    return pixel(form.FFPlayer().CurrentFrame(), 8, 8);
}

// The clips every test uses, made once.
struct Clips {
    velmora::testing::TempDir dir;
    // 64 x 48, 4 s with sound: for two seconds red with a blue top-left quarter, then lime.
    QString known = QString::fromStdString(dir.file("clip.mkv"));
    QString other = QString::fromStdString(dir.file("other.mkv"));
    QString tone = QString::fromStdString(dir.file("tone.wav"));
};

std::unique_ptr<Clips> clips;

// A window on fakes whose player events are pumped by the event loop, as the program does.
struct Pane {
    Pane() : form(harness.open()), wake(harness.queue.wake_fd(), QSocketNotifier::Read) {
        QObject::connect(&wake, &QSocketNotifier::activated, [this] { harness.queue.pump(); });
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }
    ~Pane() { harness.form.reset(); }

    // Appends a job of the first preset for an input file.
    int add_job(const QString& input) {
        return velmora::testing::append_job(form, input, QFileInfo(input).baseName() + ".avi",
                                            form.current_preset_code(),
                                            form.current_option_indices());
    }
    QString snapshot_folder() const { return harness.paths.default_snapshot_folder; }
    QString setting(const char* key) const {
        return QString::fromStdString(form.ini().read("SnapShot", key, "Error"));
    }
    QStringList snapshots() const {
        return QDir(snapshot_folder()).entryList(QDir::Files, QDir::Name);
    }
    QPushButton* button(const char* name) const {
        return form.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QAction* item(const char* name) const {
        return form.bsSkinPopupMenu2()->findChild<QAction*>(QString::fromLatin1(name));
    }
    QSlider* slider() const { return form.bsSkinSlider1(); }
    bool log_has(const QString& line) const { return form.log_text().split('\n').contains(line); }

    AppHarness harness;
    TForm1& form;
    QSocketNotifier wake;
};

}  // namespace

class Form1PreviewTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void cleanupTestCase();
    void selecting_a_job_opens_it_paused();
    void play_moves_the_slider();
    void pressing_and_releasing_the_slider_seeks_and_plays();
    void end_of_file_leaves_it_paused_at_the_start();
    void stop_button_reopens_the_selected_job_at_its_start();
    void mute_stays_on_across_selections();
    void click_beside_the_rows_closes_the_file();
    void audio_only_file_plays_and_its_snapshot_saves_nothing();
    void snapshots_decode_back_and_are_numbered_data();
    void snapshots_decode_back_and_are_numbered();
    void invalid_picture_type_becomes_bmp_and_missing_folder_is_made();
    void settings_button_marks_the_stored_type_and_shows_the_menu();
    void open_snapshot_folder_without_settings_file();
    void choose_snapshot_folder_with_the_shared_dialog();
    void closing_detaches_the_player_and_ends_its_playback();
};

void Form1PreviewTest::initTestCase() {
    clips = std::make_unique<Clips>();
    const std::string known =
        "-filter_complex \"color=c=red:s=64x48:r=25:d=2,drawbox=x=0:y=0:w=32:h=24:color=blue:t="
        "fill[a];color=c=lime:s=64x48:r=25:d=2[b];[a][b]concat=n=2:v=1:a=0[v];"
        "sine=frequency=440:duration=4[s]\" -map [v] -map [s] -c:v png -pix_fmt rgb24 -c:a "
        "pcm_s16le";
    QVERIFY(velmora::testing::run_ffmpeg(known, clips->known.toStdString()));
    QVERIFY(velmora::testing::run_ffmpeg(known, clips->other.toStdString()));
    QVERIFY(velmora::testing::make_audio_clip(clips->tone.toStdString(), 2.0));
}

void Form1PreviewTest::cleanupTestCase() {
    clips.reset();
}

void Form1PreviewTest::selecting_a_job_opens_it_paused() {
    Pane pane;
    QCOMPARE(pane.form.bsSkinSlider1_down_UP(), QString("UP"));
    QCOMPARE(pane.slider()->maximum(), 100);
    pane.add_job(clips->known);
    pane.form.lvFiles()->select_row(0);

    QCOMPARE(pane.form.T_Movie_PLayer_FileName, clips->known);
    QVERIFY(pane.form.FFPlayer().IsOpen());
    QVERIFY(pane.form.FFPlayer().IsPaused());
    QVERIFY(pane.log_has("duration: 4.00, frame size: 64x48"));
    QVERIFY(pane.form.log_text().contains("clip.mkv"));  // the file information comes first
    QVERIFY(pane.form.FDuration() > 3900000 && pane.form.FDuration() <= 4100000);
    QCOMPARE(pane.slider()->maximum(), pane.slider()->width());
    QCOMPARE(pane.slider()->value(), 0);
    QCOMPARE(pane.slider()->singleStep(), 5);
    // The screen panel shows the picture; the frame keeps the video's own size.
    QTRY_VERIFY_WITH_TIMEOUT(pane.form.Panel6()->showing_picture(), kWaitMs);
    QCOMPARE(pane.form.FFPlayer().CurrentFrame().width, 64);
    QCOMPARE(pane.form.FFPlayer().CurrentFrame().height, 48);
    QVERIFY(near(top_left(pane.form), kBlue));
    QTRY_VERIFY_WITH_TIMEOUT(pane.log_has("Pause"), kWaitMs);
}

void Form1PreviewTest::play_moves_the_slider() {
    Pane pane;
    pane.add_job(clips->known);
    pane.form.lvFiles()->select_row(0);
    QTest::mouseClick(pane.button("bsSkinButton13"), Qt::LeftButton);
    QVERIFY(!pane.form.FFPlayer().IsPaused());
    QTRY_VERIFY_WITH_TIMEOUT(pane.slider()->value() > pane.slider()->maximum() / 4, kWaitMs);
    QVERIFY(pane.log_has("Resume"));
    QVERIFY(pane.form.lvFiles()->hasFocus());

    QTest::mouseClick(pane.button("bsSkinButton14"), Qt::LeftButton);
    QVERIFY(pane.form.FFPlayer().IsPaused());
    QTest::qWait(100);
    const int paused_at = pane.slider()->value();
    QTest::qWait(300);
    QCOMPARE(pane.slider()->value(), paused_at);
}

void Form1PreviewTest::pressing_and_releasing_the_slider_seeks_and_plays() {
    Pane pane;
    pane.add_job(clips->known);
    pane.form.lvFiles()->select_row(0);
    QVERIFY(pane.form.FFPlayer().IsPaused());
    QSlider* slider = pane.slider();
    const QPoint three_quarters(slider->width() * 3 / 4, slider->height() / 2);

    QTest::mousePress(slider, Qt::LeftButton, {}, three_quarters);
    QCOMPARE(pane.form.bsSkinSlider1_down_UP(), QString("Down"));
    QVERIFY(pane.form.FFPlayer().IsPaused());
    const int pressed_at = slider->value();
    QVERIFY2(pressed_at > slider->maximum() * 6 / 10, qPrintable(QString::number(pressed_at)));
    // While held, position reports leave the slider alone.
    pane.form.FFPlayerPosition(0);
    QCOMPARE(slider->value(), pressed_at);

    QSignalSpy moves(slider, &QSlider::valueChanged);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, three_quarters);
    QCOMPARE(pane.form.bsSkinSlider1_down_UP(), QString("UP"));
    QVERIFY(!pane.form.FFPlayer().IsPaused());
    // It plays on from the point released on: the second half's picture, and the slider moves
    // on from there without passing through the start.
    QTRY_VERIFY_WITH_TIMEOUT(slider->value() > pressed_at, kWaitMs);
    QVERIFY(near(top_left(pane.form), kLime));
    for (const QList<QVariant>& move : moves) {
        QVERIFY2(move.first().toInt() >= pressed_at - 5, qPrintable(move.first().toString()));
    }
}

void Form1PreviewTest::end_of_file_leaves_it_paused_at_the_start() {
    Pane pane;
    pane.add_job(clips->known);
    pane.form.lvFiles()->select_row(0);
    pane.form.bsSkinButton13Click();
    QTRY_VERIFY_WITH_TIMEOUT(pane.log_has("End"), kWaitMs);
    QVERIFY(pane.form.FFPlayer().IsOpen());
    QVERIFY(pane.form.FFPlayer().IsPaused());
    QTRY_VERIFY_WITH_TIMEOUT(near(top_left(pane.form), kBlue), kWaitMs);
    // And it plays again from the start.
    pane.form.bsSkinButton13Click();
    QVERIFY(!pane.form.FFPlayer().IsPaused());
}

void Form1PreviewTest::stop_button_reopens_the_selected_job_at_its_start() {
    Pane pane;
    pane.add_job(clips->known);
    // Nothing selected: the stop button does nothing.
    QTest::mouseClick(pane.button("bsSkinButton15"), Qt::LeftButton);
    QVERIFY(!pane.form.FFPlayer().IsOpen());

    pane.form.lvFiles()->select_row(0);
    pane.form.bsSkinButton13Click();
    QTRY_VERIFY_WITH_TIMEOUT(near(top_left(pane.form), kLime), kWaitMs);
    QTest::mouseClick(pane.button("bsSkinButton15"), Qt::LeftButton);
    QVERIFY(pane.form.FFPlayer().IsOpen());
    QVERIFY(pane.form.FFPlayer().IsPaused());
    QTRY_VERIFY_WITH_TIMEOUT(near(top_left(pane.form), kBlue), kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(pane.log_has("Stop"), kWaitMs);
}

void Form1PreviewTest::mute_stays_on_across_selections() {
    Pane pane;
    pane.add_job(clips->known);
    pane.add_job(clips->other);
    pane.form.lvFiles()->select_row(0);
    QPushButton* mute = pane.button("bsSkinButton16");
    QPushButton* sound_on = pane.button("bsSkinButton20");
    QVERIFY(mute->isVisible() && !sound_on->isVisible());

    QTest::mouseClick(mute, Qt::LeftButton);
    QVERIFY(pane.form.FFPlayer().Mute());
    QVERIFY(!mute->isVisible() && sound_on->isVisible());
    pane.form.lvFiles()->select_row(1);
    QCOMPARE(pane.form.T_Movie_PLayer_FileName, clips->other);
    QVERIFY(pane.form.FFPlayer().Mute());
    QVERIFY(!mute->isVisible() && sound_on->isVisible());

    QTest::mouseClick(sound_on, Qt::LeftButton);
    QVERIFY(!pane.form.FFPlayer().Mute());
    QVERIFY(mute->isVisible() && !sound_on->isVisible());
}

void Form1PreviewTest::click_beside_the_rows_closes_the_file() {
    Pane pane;
    pane.add_job(clips->known);
    pane.form.lvFiles()->select_row(0);
    QTRY_VERIFY_WITH_TIMEOUT(pane.form.Panel6()->showing_picture(), kWaitMs);
    // A click on the row keeps it open.
    const QRect row = pane.form.lvFiles()->visualRect(pane.form.lvFiles()->model()->index(0, 0));
    QTest::mouseClick(pane.form.lvFiles()->viewport(), Qt::LeftButton, {}, row.center());
    QTest::qWait(50);
    QVERIFY(pane.form.FFPlayer().IsOpen());

    QWidget* viewport = pane.form.lvFiles()->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(20, viewport->height() - 10));
    QTRY_VERIFY_WITH_TIMEOUT(!pane.form.FFPlayer().IsOpen(), kWaitMs);
    QCOMPARE(pane.form.lvFiles()->selected_index(), -1);
    QVERIFY(!pane.form.Panel6()->showing_picture());
    QTRY_VERIFY_WITH_TIMEOUT(pane.log_has("Stop"), kWaitMs);
}

void Form1PreviewTest::audio_only_file_plays_and_its_snapshot_saves_nothing() {
    Pane pane;
    pane.add_job(clips->tone);
    pane.form.lvFiles()->select_row(0);
    QVERIFY(pane.form.FFPlayer().IsOpen());
    QVERIFY(pane.log_has("duration: 2.00, frame size: -1x-1"));
    pane.form.bsSkinButton13Click();
    QTRY_VERIFY_WITH_TIMEOUT(pane.slider()->value() > 0, kWaitMs);

    QTest::mouseClick(pane.button("bsSkinButton22"), Qt::LeftButton);
    // Nothing saved and nothing shown, but the folder and the type were resolved.
    QVERIFY(QFileInfo(pane.snapshot_folder()).isDir());
    QVERIFY(pane.snapshots().isEmpty());
    QCOMPARE(pane.setting("Dir"), pane.snapshot_folder());
    QCOMPARE(pane.setting("Picture"), QString("BMP"));
    QVERIFY(pane.harness.boxes.shown.isEmpty());
}

void Form1PreviewTest::snapshots_decode_back_and_are_numbered_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<double>("tolerance");  // mean difference per channel
    QTest::newRow("BMP") << "BMP1"
                         << "BMP"
                         << "bmp" << 0.0;
    QTest::newRow("PNG") << "PNG1"
                         << "PNG"
                         << "png" << 0.0;
    QTest::newRow("JPG") << "JPG1"
                         << "JPG"
                         << "jpg" << 6.0;
    QTest::newRow("GIF") << "GIF1"
                         << "GIF"
                         << "gif" << 1.0;
}

void Form1PreviewTest::snapshots_decode_back_and_are_numbered() {
    QFETCH(QString, item);
    QFETCH(QString, stored);
    QFETCH(QString, extension);
    QFETCH(double, tolerance);
    Pane pane;
    pane.add_job(clips->known);
    pane.form.lvFiles()->select_row(0);
    QVERIFY(pane.form.FFPlayer().WaitForFirstPicture(std::chrono::seconds(10)));
    pane.item(item.toLatin1().constData())->trigger();
    QCOMPARE(pane.setting("Picture"), stored);
    QVERIFY(pane.item(item.toLatin1().constData())->isChecked());

    for (int i = 0; i < 3; ++i) {
        pane.form.bsSkinButton22Click();
    }
    const QString name = "clip_%1." + extension;
    QCOMPARE(pane.snapshots(), QStringList({name.arg(1), name.arg(2), name.arg(3)}));
    QVERIFY(QFile::remove(pane.snapshot_folder() + "/" + name.arg(2)));
    pane.form.bsSkinButton22Click();
    QCOMPARE(pane.snapshots(), QStringList({name.arg(1), name.arg(2), name.arg(3)}));

    // The file holds the frame at the video's own size: blue top-left quarter on red.
    const velmora::media::RgbPicture frame = pane.form.FFPlayer().CurrentFrame();
    QVERIFY(near(pixel(frame, 8, 8), kBlue) && near(pixel(frame, 50, 40), kRed));
    const QImage saved =
        QImage(pane.snapshot_folder() + "/" + name.arg(1)).convertToFormat(QImage::Format_RGB888);
    QCOMPARE(saved.size(), QSize(frame.width, frame.height));
    double difference = 0;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width * 3; ++x) {
            difference += std::abs(int(saved.constScanLine(y)[x]) -
                                   int(frame.rgb[static_cast<size_t>(y) * frame.width * 3 + x]));
        }
    }
    difference /= frame.width * frame.height * 3.0;
    QVERIFY2(difference <= tolerance, qPrintable(QString::number(difference)));
    QVERIFY(pane.harness.boxes.shown.isEmpty());
}

void Form1PreviewTest::invalid_picture_type_becomes_bmp_and_missing_folder_is_made() {
    Pane pane;
    const QString folder = pane.harness.folder() + "/not/yet/there";
    pane.form.ini().write("SnapShot", "Dir", folder.toStdString());
    pane.form.ini().write("SnapShot", "Picture", "jpg");
    pane.item("PNG1")->setChecked(true);
    pane.add_job(clips->known);
    pane.form.lvFiles()->select_row(0);
    QVERIFY(pane.form.FFPlayer().WaitForFirstPicture(std::chrono::seconds(10)));

    pane.form.bsSkinButton22Click();
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"clip_1.bmp"});
    QCOMPARE(pane.setting("Picture"), QString("BMP"));
    QCOMPARE(pane.setting("Dir"), folder);
    QVERIFY(pane.item("BMP1")->isChecked());
    QVERIFY(!pane.item("PNG1")->isChecked());
}

void Form1PreviewTest::settings_button_marks_the_stored_type_and_shows_the_menu() {
    Pane pane;
    QVERIFY(pane.item("BMP1")->isChecked());  // until something reads the file
    pane.form.ini().write("SnapShot", "Picture", "GIF");
    QMenu* menu = pane.form.bsSkinPopupMenu2();
    QTest::mousePress(pane.button("bsSkinButton23"), Qt::LeftButton);
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(pane.item("GIF1")->isChecked());
    QVERIFY(!pane.item("BMP1")->isChecked());
    menu->hide();

    // The right button shows the same menu as the button's context menu, marking nothing.
    pane.form.ini().write("SnapShot", "Picture", "PNG");
    QWidget* button = pane.button("bsSkinButton23");
    QContextMenuEvent right_click(QContextMenuEvent::Mouse, QPoint(5, 5),
                                  button->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(button, &right_click);
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(pane.item("GIF1")->isChecked());
    menu->hide();

    // The type items are one radio group writing the file.
    pane.item("JPG1")->trigger();
    QCOMPARE(pane.setting("Picture"), QString("JPG"));
    QVERIFY(pane.item("JPG1")->isChecked() && !pane.item("GIF1")->isChecked());
}

void Form1PreviewTest::open_snapshot_folder_without_settings_file() {
    Pane pane;
    QVERIFY(QFile::remove(pane.harness.paths.settings_file));
    QDir(pane.snapshot_folder()).removeRecursively();
    pane.item("MenuItem1")->trigger();
    QVERIFY(QFileInfo(pane.snapshot_folder()).isDir());
    QCOMPARE(pane.setting("Dir"), pane.snapshot_folder());
    QCOMPARE(pane.harness.desktop.opened, QList<QUrl>{QUrl::fromLocalFile(pane.snapshot_folder())});
}

void Form1PreviewTest::choose_snapshot_folder_with_the_shared_dialog() {
    Pane pane;
    const QString chosen = pane.harness.folder() + "/shots";
    QVERIFY(QDir().mkpath(chosen));
    const QString before = pane.setting("Dir");
    // Cancelled: nothing changes. A folder that does not exist: nothing changes either.
    pane.harness.chooser.answers << QString() << pane.harness.folder() + "/missing" << chosen
                                 << QString();
    pane.item("MenuItem2")->trigger();
    QCOMPARE(pane.setting("Dir"), before);
    pane.item("MenuItem2")->trigger();
    QCOMPARE(pane.setting("Dir"), before);
    pane.item("MenuItem2")->trigger();
    QCOMPARE(pane.setting("Dir"), chosen);
    // The same dialog as the output folder's: "浏览..." opens on the folder confirmed here.
    QTest::mouseClick(pane.form.findChild<QPushButton*>("bsSkinButton5"), Qt::LeftButton);
    QCOMPARE(pane.harness.chooser.start_folders.last(), chosen);
    QCOMPARE(pane.form.FileOutPutPath(), pane.harness.paths.default_output_folder);
}

void Form1PreviewTest::closing_detaches_the_player_and_ends_its_playback() {
    Pane pane;
    pane.add_job(clips->known);
    pane.form.lvFiles()->select_row(0);
    pane.form.bsSkinButton13Click();
    QTRY_VERIFY_WITH_TIMEOUT(pane.slider()->value() > 0, kWaitMs);
    QVERIFY(pane.form.close());
    QVERIFY(!pane.form.FFPlayer().IsOpen());
    // Nothing the player had queued reaches the closed window.
    const QString log_at_close = pane.form.log_text();
    const int slider_at_close = pane.slider()->value();
    QTest::qWait(300);
    QCOMPARE(pane.form.log_text(), log_at_close);
    QCOMPARE(pane.slider()->value(), slider_at_close);
    QVERIFY(pane.harness.boxes.shown.isEmpty());
}

QTEST_MAIN(Form1PreviewTest)
#include "form1_preview_test.moc"
