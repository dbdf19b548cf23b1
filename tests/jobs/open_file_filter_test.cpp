// The open-file filter list and the top-level directory listing.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include <algorithm>
#include <filesystem>

#include "jobs/open_file_filter.h"
#include "support/temp_dir.h"

namespace velmora::jobs {
namespace {

TEST(OpenFileFilter, EntriesAndTheirText) {
    const auto entries = open_file_filter_entries();
    ASSERT_EQ(entries.size(), 42u);
    EXPECT_EQ(entries[0].description, "所有文件格式 (*.*)");
    EXPECT_EQ(entries[37].description, "Flac无损压缩音频格式\u3000(*.flac)");
    EXPECT_EQ(entries[41].patterns, "*.aif; *.aiff");
    EXPECT_NE(entries[1].patterns.find("*.SWF;*.FLAC;"), std::string_view::npos);
    const std::string text = open_file_filter_text();
    EXPECT_EQ(text.rfind("所有文件格式 (*.*)|*.*|", 0), 0u);
    const std::string last = "|AIFF音频编码格式(*.aif; *.aiff)|*.aif; *.aiff|";
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

TEST(OpenFileFilter, QtFiltersMatchRegardlessOfCase) {
    const QStringList filters = qt_name_filters();
    ASSERT_EQ(filters.size(), 42);
    EXPECT_EQ(filters[0], QStringLiteral("所有文件格式 (*.*) (*)"));
    EXPECT_EQ(filters[4], QStringLiteral("AVI文件 (*.avi) (*.[aA][vV][iI])"));
    EXPECT_EQ(
        filters[41],
        QStringLiteral("AIFF音频编码格式(*.aif; *.aiff) (*.[aA][iI][fF] *.[aA][iI][fF][fF])"));
    // The glob of "*.AVI" accepts every spelling of the extension.
    const QString glob = case_insensitive_glob(u"*.AVI");
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(glob));
    for (const char* name : {"clip.avi", "clip.AVI", "clip.Avi"}) {
        EXPECT_TRUE(re.match(QString::fromLatin1(name)).hasMatch()) << name;
    }
    EXPECT_FALSE(re.match(QStringLiteral("clip.avix")).hasMatch());
    EXPECT_EQ(case_insensitive_glob(u"*.3gp2"), QStringLiteral("*.3[gG][pP]2"));
}

TEST(GetFilenames, TopLevelFilesOnly) {
    velmora::testing::TempDir dir;
    velmora::testing::write_file(dir.path() / "a.mp4", "x");
    velmora::testing::write_file(dir.path() / ".hidden", "x");
    velmora::testing::write_file(dir.path() / "noext", "x");
    std::filesystem::create_directory(dir.path() / "sub");
    velmora::testing::write_file(dir.path() / "sub" / "b.mp4", "x");
    auto names = GetFilenames(dir.path().string(), "*.*");
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expected = {dir.file(".hidden"), dir.file("a.mp4"),
                                               dir.file("noext")};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(GetFilenames(dir.path().string(), "*.MP4"),
              std::vector<std::string>{dir.file("a.mp4")});
    EXPECT_TRUE(GetFilenames(dir.file("a.mp4"), "*.*").empty());
    EXPECT_TRUE(GetFilenames(dir.file("missing"), "*.*").empty());
}

}  // namespace
}  // namespace velmora::jobs
