// The preview screen: black with its logo while idle, pictures from another thread, the logo
// again after a clear, and a real player drawing into it.
#include <QApplication>
#include <QImage>
#include <QTest>

#include <thread>
#include <vector>

#include "media/player.h"
#include "player_test_support.h"
#include "preview/screen_panel.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

using velmora::media::VideoPicture;
using velmora::preview::ScreenPanel;

namespace {

// A solid picture of one colour, as the player hands it over.
std::vector<uint8_t> solid(int width, int height, QColor colour) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = static_cast<uint8_t>(colour.red());
        rgb[i + 1] = static_cast<uint8_t>(colour.green());
        rgb[i + 2] = static_cast<uint8_t>(colour.blue());
    }
    return rgb;
}

bool close_to(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 48 && std::abs(a.green() - b.green()) < 48 &&
           std::abs(a.blue() - b.blue()) < 48;
}

// Counts the pixels that are not black.
int lit_pixels(const QImage& image) {
    int lit = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != QColor(Qt::black)) {
                ++lit;
            }
        }
    }
    return lit;
}

}  // namespace

class ScreenPanelTest : public QObject {
    Q_OBJECT

  private slots:
    void idleShowsTheLogoOnBlack() {
        ScreenPanel panel;
        panel.resize(200, 124);
        panel.show();
        QCOMPARE(panel.objectName(), QString("Panel6"));
        const QImage shot = panel.grab().toImage();
        QCOMPARE(shot.pixelColor(2, 2), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(197, 121), QColor(Qt::black));
        QVERIFY(lit_pixels(shot) > 200);  // the logo
        QVERIFY(!panel.showing_picture());
    }

    void pictureFromAnotherThreadIsPaintedAndClearBringsBackTheLogo() {
        ScreenPanel panel;
        panel.resize(200, 124);
        panel.show();
        const QImage idle = panel.grab().toImage();
        const std::vector<uint8_t> green = solid(200, 124, QColor(0, 200, 0));
        std::thread player_thread([&] {
            panel.present(VideoPicture{green.data(), 200, 124, 200 * 3});
        });
        player_thread.join();
        QTRY_VERIFY(panel.showing_picture());
        QCoreApplication::processEvents();
        const QImage shown = panel.grab().toImage();
        QVERIFY(close_to(shown.pixelColor(100, 62), QColor(0, 200, 0)));
        QVERIFY(close_to(shown.pixelColor(1, 1), QColor(0, 200, 0)));

        std::thread stop_thread([&] { panel.clear(); });
        stop_thread.join();
        QCoreApplication::processEvents();
        QVERIFY(!panel.showing_picture());
        QCOMPARE(panel.grab().toImage(), idle);
    }

    void aPlayerDrawsItsVideoIntoThePanel() {
        velmora::testing::TempDir dir;
        const std::string clip = dir.file("colours.mp4");
        QVERIFY(velmora::media::testing::make_colour_clip(clip));
        ScreenPanel panel;
        panel.resize(200, 124);
        panel.show();
        velmora::media::testing::UiQueue ui;
        {
            velmora::media::Player player(ui.poster());
            player.OnFileOpen = [&](int64_t, int, int, int& width, int& height) {
                width = panel.width();
                height = panel.height();
            };
            QVERIFY(player.Open(clip, &panel, velmora::media::OpenStart::paused));
            QVERIFY(player.WaitForFirstPicture(std::chrono::seconds(5)));
            QTRY_VERIFY(panel.showing_picture());
            QCOMPARE(panel.picture().size(), QSize(200, 124));
            QCoreApplication::processEvents();
            const QImage shot = panel.grab().toImage();
            QVERIFY(close_to(shot.pixelColor(100, 62), QColor(255, 0, 0)));
            QCOMPARE(shot.pixelColor(5, 62), QColor(Qt::black));  // letterbox bar
            player.Stop(velmora::media::StopMode::wait_for_stop);
            QVERIFY(!panel.showing_picture());
        }
        ui.pump();
    }
};

QTEST_MAIN(ScreenPanelTest)
#include "screen_panel_test.moc"
