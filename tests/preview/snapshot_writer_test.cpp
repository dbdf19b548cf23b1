// Snapshot files: each type decodes back to the picture taken, and names are numbered.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "preview/snapshot_writer.h"
#include "support/temp_dir.h"

namespace velmora::preview {
namespace {

// A picture with smooth gradients and sharp edges, odd width so BMP lines need padding.
RgbImage test_picture() {
    RgbImage image{67, 41, {}};
    image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            uint8_t* p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
            p[0] = static_cast<uint8_t>(x * 255 / (image.width - 1));
            p[1] = static_cast<uint8_t>(y * 255 / (image.height - 1));
            p[2] = (x / 8 + y / 8) % 2 ? 220 : 30;
        }
    }
    return image;
}

double mean_abs_difference(const RgbImage& expected, const QImage& decoded) {
    const QImage rgb = decoded.convertToFormat(QImage::Format_RGB888);
    double total = 0;
    for (int y = 0; y < expected.height; ++y) {
        const uint8_t* line = rgb.constScanLine(y);
        for (int x = 0; x < expected.width * 3; ++x) {
            total += std::abs(int(line[x]) -
                              int(expected.rgb[static_cast<size_t>(y) * expected.width * 3 + x]));
        }
    }
    return total / (expected.width * expected.height * 3.0);
}

class SnapshotWriter : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "snapshot_test";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }
    velmora::testing::TempDir dir;
};

TEST_F(SnapshotWriter, EachTypeDecodesBackToThePicture) {
    const RgbImage picture = test_picture();
    struct Case {
        PictureType type;
        double tolerance;  // mean absolute difference per channel
    };
    for (const Case c : {Case{PictureType::BMP, 0.0}, Case{PictureType::PNG, 0.0},
                         Case{PictureType::JPG, 12.0}, Case{PictureType::GIF, 6.0}}) {
        const std::string path = dir.file("shot" + std::string(picture_extension(c.type)));
        ASSERT_EQ(write_picture(picture, c.type, path), "") << path;
        QImage decoded(QString::fromStdString(path));
        ASSERT_FALSE(decoded.isNull()) << path;
        ASSERT_EQ(decoded.size(), QSize(picture.width, picture.height)) << path;
        EXPECT_LE(mean_abs_difference(picture, decoded), c.tolerance) << path;
    }
}

TEST_F(SnapshotWriter, FilesHaveTheRequiredEncodings) {
    const RgbImage picture = test_picture();
    auto bytes_of = [&](PictureType type) {
        const std::string path = dir.file("enc" + std::string(picture_extension(type)));
        EXPECT_EQ(write_picture(picture, type, path), "");
        return velmora::testing::read_file(path);
    };
    const std::string bmp = bytes_of(PictureType::BMP);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(uint8_t(bmp[28]), 24);  // bits per pixel
    EXPECT_EQ(bmp[30], 0);            // no compression
    const std::string png = bytes_of(PictureType::PNG);
    EXPECT_EQ(uint8_t(png[24]), 8);  // bit depth
    EXPECT_EQ(uint8_t(png[25]), 2);  // colour type: RGB
    const std::string jpg = bytes_of(PictureType::JPG);
    const size_t sof0 = jpg.find("\xFF\xC0");
    ASSERT_NE(sof0, std::string::npos) << "baseline frame";
    EXPECT_EQ(jpg.find("\xFF\xC2"), std::string::npos) << "progressive frame";
    EXPECT_EQ(uint8_t(jpg[sof0 + 9]), 3) << "colour components";

    const std::string gif_bytes = bytes_of(PictureType::GIF);
    EXPECT_EQ(gif_bytes.substr(0, 3), "GIF");
    QImage gif(QString::fromStdString(dir.file("enc.gif")));
    std::set<QRgb> colours;
    for (int y = 0; y < gif.height(); ++y) {
        for (int x = 0; x < gif.width(); ++x) {
            colours.insert(gif.pixel(x, y));
        }
    }
    EXPECT_GT(colours.size(), 16u);
    EXPECT_LE(colours.size(), 256u);
}

TEST_F(SnapshotWriter, NothingToSaveWithoutAPicture) {
    EXPECT_NE(write_picture(RgbImage{}, PictureType::PNG, dir.file("empty.png")), "");
    EXPECT_FALSE(std::filesystem::exists(dir.file("empty.png")));
}

TEST(SnapshotNames, NumbersFillGapsPerExtension) {
    std::set<std::string> files = {"/s/clip_1.bmp", "/s/clip_3.bmp", "/s/clip_1.jpg"};
    auto exists = [&](const std::string& p) { return files.count(p) > 0; };
    EXPECT_EQ(next_snapshot_path("/s", "clip", ".bmp", exists), "/s/clip_2.bmp");
    files.insert("/s/clip_2.bmp");
    EXPECT_EQ(next_snapshot_path("/s", "clip", ".bmp", exists), "/s/clip_4.bmp");
    EXPECT_EQ(next_snapshot_path("/s", "clip", ".jpg", exists), "/s/clip_2.jpg");
    EXPECT_EQ(next_snapshot_path("/s", "clip", ".png", exists), "/s/clip_1.png");
    EXPECT_EQ(snapshot_base_name("/视频/clip.mp4"), "clip");
    EXPECT_EQ(snapshot_base_name("/in/a.b.mov"), "a.b");
    EXPECT_EQ(snapshot_base_name("/in/clip"), "clip");
    EXPECT_EQ(picture_type_from_setting("png"), std::nullopt);
    EXPECT_EQ(picture_type_from_setting("GIF"), PictureType::GIF);
}

}  // namespace
}  // namespace velmora::preview
