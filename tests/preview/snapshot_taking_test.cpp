// Taking a snapshot: the settings are resolved folder first, then type, also with nothing to
// save; names are numbered per extension, gaps first, and shared by inputs of one name.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include <filesystem>
#include <string>
#include <vector>

#include "preview/snapshot_taking.h"
#include "support/temp_dir.h"

namespace velmora::preview {
namespace {

RgbImage small_picture() {
    RgbImage image{5, 3, {}};
    image.rgb.assign(static_cast<size_t>(image.width) * image.height * 3, 200);
    return image;
}

class SnapshotTaking : public ::testing::Test {
  protected:
    // The JPG writer is an image plugin, found through the application.
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "snapshot_taking_test";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }
    // Settings that record the order they were asked in.
    SnapshotSettings settings(PictureType type) {
        return {[this] {
                    asked.push_back("folder");
                    return folder;
                },
                [this, type] {
                    asked.push_back("type");
                    return type;
                }};
    }
    std::string name_in_folder(const SnapshotResult& result) const {
        return std::filesystem::path(result.path).filename().string();
    }

    velmora::testing::TempDir dir;
    std::string folder = dir.path().string();
    std::vector<std::string> asked;
};

TEST_F(SnapshotTaking, NothingToSaveStillResolvesFolderThenType) {
    const SnapshotResult result =
        take_snapshot(RgbImage{}, "/in/clip.mp4", settings(PictureType::PNG));
    EXPECT_EQ(result.outcome, SnapshotOutcome::NothingToSave);
    EXPECT_EQ(asked, (std::vector<std::string>{"folder", "type"}));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(SnapshotTaking, NumbersPerExtensionFillingGapsFirst) {
    const RgbImage picture = small_picture();
    std::vector<std::string> names;
    for (int i = 0; i < 3; ++i) {
        names.push_back(
            name_in_folder(take_snapshot(picture, "/a/clip.mp4", settings(PictureType::BMP))));
    }
    // Another folder's input of the same name shares the numbering; another type starts at 1.
    names.push_back(
        name_in_folder(take_snapshot(picture, "/b/clip.avi", settings(PictureType::BMP))));
    names.push_back(
        name_in_folder(take_snapshot(picture, "/a/clip.mp4", settings(PictureType::JPG))));
    EXPECT_EQ(names, (std::vector<std::string>{"clip_1.bmp", "clip_2.bmp", "clip_3.bmp",
                                               "clip_4.bmp", "clip_1.jpg"}));

    std::filesystem::remove(dir.path() / "clip_2.bmp");
    EXPECT_EQ(name_in_folder(take_snapshot(picture, "/a/clip.mp4", settings(PictureType::BMP))),
              "clip_2.bmp");
    EXPECT_EQ(name_in_folder(take_snapshot(picture, "/a/clip.mp4", settings(PictureType::BMP))),
              "clip_5.bmp");
}

TEST_F(SnapshotTaking, BaseNameDropsOnlyTheLastExtension) {
    const RgbImage picture = small_picture();
    struct Case {
        const char* input;
        const char* expected;
    };
    for (const Case c :
         {Case{"/in/my.holiday.mkv", "my.holiday_1.png"},
          Case{"/in/no_extension", "no_extension_1.png"}, Case{"/in/片段.mp4", "片段_1.png"}}) {
        const SnapshotResult result = take_snapshot(picture, c.input, settings(PictureType::PNG));
        EXPECT_EQ(result.outcome, SnapshotOutcome::Saved) << c.input;
        EXPECT_EQ(name_in_folder(result), c.expected);
        EXPECT_TRUE(std::filesystem::is_regular_file(result.path)) << result.path;
    }
}

TEST_F(SnapshotTaking, NamesHeldByFoldersOrDanglingLinksAreSkipped) {
    std::filesystem::create_directory(dir.path() / "clip_1.png");
    std::filesystem::create_symlink(dir.path() / "gone", dir.path() / "clip_2.png");
    const SnapshotResult result =
        take_snapshot(small_picture(), "/in/clip.mp4", settings(PictureType::PNG));
    EXPECT_EQ(result.outcome, SnapshotOutcome::Saved) << result.error;
    EXPECT_EQ(name_in_folder(result), "clip_3.png");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "gone"));
}

TEST_F(SnapshotTaking, FolderThatCannotHoldFilesFailsTheWrite) {
    velmora::testing::write_file(dir.path() / "afile", "x");
    folder = (dir.path() / "afile").string();
    const SnapshotResult result =
        take_snapshot(small_picture(), "/in/clip.mp4", settings(PictureType::BMP));
    EXPECT_EQ(result.outcome, SnapshotOutcome::WriteFailed);
    EXPECT_EQ(result.path, folder + "/clip_1.bmp");
    EXPECT_FALSE(result.error.empty());
}

}  // namespace
}  // namespace velmora::preview
