#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace velmora::settings {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

class IniFileTest : public ::testing::Test {
  protected:
    TempDir tmp;
    std::filesystem::path file = tmp.path() / "option.ini";
    IniFile ini{file};
};

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheFallback) {
    EXPECT_FALSE(ini.exists());
    EXPECT_EQ(ini.read("Options", "Thread_Count", "Error"), "Error");
    write_file(file, "[Options]\nThread_Count=7\n");
    EXPECT_TRUE(ini.exists());
    EXPECT_EQ(ini.read("Skin", "SetSkin", "Error"), "Error");
    EXPECT_EQ(ini.read("Options", "After_Done", "fb"), "fb");
}

TEST_F(IniFileTest, NamesMatchWithoutCaseAndValuesAreExactAndTrimmed) {
    write_file(file,
               "; comment = not a key\n"
               "[ options ]\r\n"
               "  thread_count =  7 \r\n"
               "Picture=png\r\n"
               "Blank=\r\n"
               "NoEquals\r\n"
               "[OPTIONS]\r\n"
               "After_Done=3\r\n");
    EXPECT_EQ(ini.read("Options", "Thread_Count", "Error"), "7");
    EXPECT_EQ(ini.read("OPTIONS", "PICTURE", "Error"), "png");
    EXPECT_EQ(ini.read("Options", "Blank", "Error"), "");
    EXPECT_EQ(ini.read("Options", "NoEquals", "Error"), "Error");
    EXPECT_EQ(ini.read("Options", "; comment", "Error"), "Error");
    // Only the first section of a name is looked at.
    EXPECT_EQ(ini.read("Options", "After_Done", "Error"), "Error");
}

TEST_F(IniFileTest, FirstWriteCreatesTheFileAndSectionsFollowInWriteOrder) {
    ini.write("OutPath", "OutPath", "/a");
    ini.write("Skin", "SetSkin", "0");
    ini.write("Options", "Thread_Count", "0");
    ini.write("Options", "After_Done", "0");
    EXPECT_EQ(
        read_file(file),
        "[OutPath]\nOutPath=/a\n[Skin]\nSetSkin=0\n[Options]\nThread_Count=0\nAfter_Done=0\n");
}

TEST_F(IniFileTest, WritesKeepEveryOtherLineByteForByte) {
    const std::string before =
        "\xEF\xBB\xBF; settings\r\n"
        "[Options]\r\n"
        "Thread_Count = 7   \r\n"
        "Unknown=x\r\n"
        "\r\n"
        "; about the skin\r\n"
        "[skin]\r\n"
        "SetSkin=0";
    write_file(file, before);
    ini.write("OPTIONS", "thread_count", "12");  // replaced in place, spelling and spacing kept
    ini.write("Options", "Show_Preview", "1");   // appended after the section's last key
    ini.write("Skin", "SetSkin", "1");           // last line without a line break
    ini.write("SnapShot", "Picture", "PNG");     // new section at the end, file's line breaks
    EXPECT_EQ(read_file(file),
              "\xEF\xBB\xBF; settings\r\n"
              "[Options]\r\n"
              "Thread_Count = 12\r\n"
              "Unknown=x\r\n"
              "Show_Preview=1\r\n"
              "\r\n"
              "; about the skin\r\n"
              "[skin]\r\n"
              "SetSkin=1\r\n"
              "[SnapShot]\r\n"
              "Picture=PNG\r\n");
    EXPECT_EQ(ini.read("Options", "Thread_Count", "Error"), "12");
}

TEST_F(IniFileTest, ChineseValuesReadBackUnchanged) {
    const std::string folder = tmp.file("Velmora视频软件/输出 新建");
    ini.write("OutPath", "OutPath", folder);
    EXPECT_EQ(ini.read("outpath", "outpath", "Error"), folder);
}

TEST_F(IniFileTest, OuterBlanksAndQuotesSurviveARoundTrip) {
    for (const std::string value :
         {" /tmp/前后有空格 ", "\"quoted\"", "'single'", "\"", "a \"b\" c"}) {
        ini.write("OutPath", "OutPath", value);
        EXPECT_EQ(ini.read("OutPath", "OutPath", "Error"), value) << value;
    }
    write_file(file, "[OutPath]\nOutPath=\"/by hand\"\n");
    EXPECT_EQ(ini.read("OutPath", "OutPath", "Error"), "/by hand");
    ini.write("OutPath", "OutPath", "/plain");
    EXPECT_EQ(read_file(file), "[OutPath]\nOutPath=/plain\n");
}

TEST_F(IniFileTest, ReadsAreCappedAt2047CharactersWithoutSplittingOne) {
    const std::string ascii(3000, 'a');
    ini.write("A", "Ascii", ascii);
    EXPECT_EQ(ini.read("A", "Ascii", ""), std::string(2047, 'a'));

    std::string chinese;
    for (int i = 0; i < 2100; ++i) {
        chinese += "视";
    }
    ini.write("A", "Chinese", chinese);
    const std::string back = ini.read("A", "Chinese", "");
    ASSERT_EQ(back.size(), 2047u * 3);
    EXPECT_EQ(back, chinese.substr(0, 2047 * 3));
}

TEST_F(IniFileTest, EveryAccessSeesTheFileAsItIsNow) {
    ini.write("Options", "After_Done", "1");
    write_file(file, "[Options]\nAfter_Done=2\n");  // another program changes it
    EXPECT_EQ(ini.read("Options", "After_Done", "Error"), "2");
    ini.write("Options", "Thread_Count", "3");
    EXPECT_EQ(read_file(file), "[Options]\nAfter_Done=2\nThread_Count=3\n");
}

TEST_F(IniFileTest, UnwritablePathRaisesUnableToWrite) {
    write_file(tmp.path() / "afile", "x");
    const std::filesystem::path bad = tmp.path() / "afile" / "option.ini";
    const IniFile unwritable(bad);
    try {
        unwritable.write("Options", "After_Done", "0");
        FAIL() << "no error raised";
    } catch (const SettingsWriteError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + bad.string());
    }
    EXPECT_EQ(unwritable.read("Options", "After_Done", "Error"), "Error");
}

TEST_F(IniFileTest, AFailedWriteLeavesTheFileAsItWas) {
    write_file(file, "[OutPath]\nOutPath=/old\n");
    // A line break would smuggle extra lines into the file.
    EXPECT_THROW(ini.write("OutPath", "OutPath", "/new\n[Options]\nAfter_Done=1"),
                 SettingsWriteError);
    EXPECT_EQ(read_file(file), "[OutPath]\nOutPath=/old\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.path()),
                            std::filesystem::directory_iterator()),
              1);  // no temporary file left behind
}

TEST_F(IniFileTest, AWriteKeepsTheFilePermissionsAndLeavesNoTemporaryFile) {
    namespace fs = std::filesystem;
    write_file(file, "[Skin]\nSetSkin=0\n");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ini.write("Skin", "SetSkin", "1");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.path()), fs::directory_iterator()), 1);
}

TEST_F(IniFileTest, WritingThroughASymbolicLinkKeepsTheLink) {
    const auto real = tmp.path() / "real.ini";
    write_file(real, "[Skin]\nSetSkin=0\n");
    std::filesystem::create_symlink(real, file);
    ini.write("Skin", "SetSkin", "1");
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_EQ(read_file(real), "[Skin]\nSetSkin=1\n");
}

}  // namespace
}  // namespace velmora::settings
