#include "settings/settings_rules.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "support/temp_dir.h"

namespace velmora::settings {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

// One key's read: what the file holds before (nullopt: no such key), what the reader returns
// (as text) and what the file holds afterwards.
struct ReadCase {
    const char* section;
    const char* key;
    std::optional<std::string> stored;
    std::string returned;
    std::string stored_after;
};

std::string run_reader(const IniFile& ini, std::string_view key) {
    if (key == "Thread_Count")
        return std::to_string(read_thread_count_item(ini));
    if (key == "After_Done")
        return std::string(after_done_text(read_after_done(ini)));
    if (key == "Thread_Priority")
        return std::string(thread_priority_text(read_thread_priority(ini)));
    if (key == "Overwrite_File")
        return std::string(overwrite_file_text(read_overwrite_file(ini)));
    if (key == "Show_Preview")
        return read_show_preview(ini) ? "on" : "off";
    if (key == "SetSkin")
        return std::to_string(read_skin_index(ini));
    if (key == "Picture")
        return std::string(picture_type_text(read_picture_type(ini)));
    ADD_FAILURE() << "no reader for " << key;
    return {};
}

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.section << "/" << c.key << " = " << (c.stored ? "\"" + *c.stored + "\"" : "(none)");
}

std::string case_name(const ::testing::TestParamInfo<ReadCase>& info) {
    return std::string(info.param.key) + "_" + std::to_string(info.index);
}

class ReadRule : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadRule, ReturnsTheValueInUseAndWritesTheDefaultBackWhenNeeded) {
    const ReadCase& c = GetParam();
    TempDir tmp;
    const auto file = tmp.path() / "option.ini";
    const std::string other = "[Other]\nKeep=me\n";
    std::string before = other + "[" + c.section + "]\n";
    if (c.stored) {
        before += std::string(c.key) + "=" + *c.stored + "\n";
    }
    write_file(file, before);
    const IniFile ini(file);

    EXPECT_EQ(run_reader(ini, c.key), c.returned);
    EXPECT_EQ(read_file(file),
              other + "[" + c.section + "]\n" + c.key + "=" + c.stored_after + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ReadRule,
    ::testing::Values(ReadCase{"Options", "Thread_Count", "7", "7", "7"},
                      ReadCase{"Options", "Thread_Count", "19", "19", "19"},
                      ReadCase{"Options", "Thread_Count", "1", "1", "1"},
                      ReadCase{"Options", "Thread_Count", "0", "1", "0"},
                      ReadCase{"Options", "Thread_Count", "25", "1", "0"},
                      ReadCase{"Options", "Thread_Count", "07", "1", "0"},
                      ReadCase{"Options", "Thread_Count", "Error", "1", "0"},
                      ReadCase{"Options", "Thread_Count", "", "1", "0"},
                      ReadCase{"Options", "Thread_Count", std::nullopt, "1", "0"},
                      ReadCase{"Options", "After_Done", "2", "2", "2"},
                      ReadCase{"Options", "After_Done", "7", "0", "0"},
                      ReadCase{"Options", "After_Done", std::nullopt, "0", "0"},
                      ReadCase{"Options", "Thread_Priority", "1", "1", "1"},
                      ReadCase{"Options", "Thread_Priority", "x", "3", "3"},
                      ReadCase{"Options", "Thread_Priority", "", "3", "3"},
                      ReadCase{"Options", "Overwrite_File", "0", "0", "0"},
                      ReadCase{"Options", "Overwrite_File", "2", "1", "1"},
                      ReadCase{"Options", "Show_Preview", "1", "on", "1"},
                      ReadCase{"Options", "Show_Preview", "yes", "off", "0"},
                      ReadCase{"Options", "Show_Preview", "Error", "off", "0"},
                      ReadCase{"Skin", "SetSkin", "0", "0", "0"},
                      ReadCase{"Skin", "SetSkin", "5", "5", "5"},
                      ReadCase{"Skin", "SetSkin", "-2", "-2", "-2"},
                      ReadCase{"Skin", "SetSkin", "Error", "0", "0"},
                      ReadCase{"Skin", "SetSkin", std::nullopt, "0", "0"},
                      ReadCase{"Skin", "SetSkin", "abc", "-1", "abc"},
                      ReadCase{"Skin", "SetSkin", "1x", "-1", "1x"},
                      ReadCase{"Skin", "SetSkin", "99999999999", "-1", "99999999999"},
                      ReadCase{"SnapShot", "Picture", "PNG", "PNG", "PNG"},
                      ReadCase{"SnapShot", "Picture", "png", "BMP", "BMP"},
                      ReadCase{"SnapShot", "Picture", "", "BMP", "BMP"}),
    case_name);

class FolderRules : public ::testing::Test {
  protected:
    TempDir tmp;
    std::filesystem::path file = tmp.path() / "option.ini";
    IniFile ini{file};
    std::string default_folder = tmp.file("Velmora视频软件/输出");
};

TEST_F(FolderRules, WithoutAFileTheDefaultFolderIsCreatedStoredAndUsed) {
    EXPECT_EQ(read_output_folder(ini, default_folder), default_folder);
    EXPECT_TRUE(std::filesystem::is_directory(default_folder));
    EXPECT_EQ(read_file(file), "[OutPath]\nOutPath=" + default_folder + "\n");
}

TEST_F(FolderRules, AnAbsentOutPathFallsBackToTheDefault) {
    for (const std::string stored : {"OutPath=Error\n", "OutPath=\n", ""}) {
        std::filesystem::remove_all(tmp.path() / "Velmora视频软件");
        write_file(file, "[OutPath]\n" + stored);
        EXPECT_EQ(read_output_folder(ini, default_folder), default_folder) << stored;
        EXPECT_TRUE(std::filesystem::is_directory(default_folder)) << stored;
        EXPECT_EQ(ini.read("OutPath", "OutPath", ""), default_folder) << stored;
    }
}

TEST_F(FolderRules, AStoredOutPathIsCreatedWithItsParentsAndKept) {
    const std::string stored = tmp.file("深/层/目录");
    write_file(file, "[OutPath]\nOutPath=" + stored + "\n");
    EXPECT_EQ(read_output_folder(ini, default_folder), stored);
    EXPECT_TRUE(std::filesystem::is_directory(stored));
    EXPECT_FALSE(std::filesystem::exists(default_folder));
    EXPECT_EQ(read_file(file), "[OutPath]\nOutPath=" + stored + "\n");
}

TEST_F(FolderRules, AnOutPathThatCannotBeCreatedIsUsedAllTheSame) {
    write_file(tmp.path() / "afile", "x");
    const std::string stored = tmp.file("afile/sub");
    write_file(file, "[OutPath]\nOutPath=" + stored + "\n");
    EXPECT_EQ(read_output_folder(ini, default_folder), stored);
}

TEST_F(FolderRules, AnUnwritableFileRaisesOnlyAfterTheDefaultFailedTwice) {
    write_file(tmp.path() / "afile", "x");
    const std::filesystem::path bad = tmp.path() / "afile" / "option.ini";
    EXPECT_THROW(read_output_folder(IniFile(bad), default_folder), SettingsWriteError);
    EXPECT_TRUE(std::filesystem::is_directory(default_folder));
}

TEST_F(FolderRules, SavingWritesOnlyAnExistingFolder) {
    const std::string chosen = tmp.file("选择的");
    save_output_folder(ini, chosen);
    EXPECT_FALSE(ini.exists());
    std::filesystem::create_directory(chosen);
    save_output_folder(ini, chosen);
    EXPECT_EQ(ini.read("OutPath", "OutPath", "Error"), chosen);

    EXPECT_FALSE(save_snapshot_folder(ini, tmp.file("missing")));
    EXPECT_TRUE(save_snapshot_folder(ini, chosen));
    EXPECT_EQ(ini.read("SnapShot", "Dir", "Error"), chosen);
}

TEST_F(FolderRules, SnapshotFolderDefaultsAndIsCreated) {
    const std::string snapshots = tmp.file("Velmora视频软件/快照");
    EXPECT_EQ(read_snapshot_folder(ini, snapshots), snapshots);
    EXPECT_TRUE(std::filesystem::is_directory(snapshots));
    EXPECT_EQ(read_file(file), "[SnapShot]\nDir=" + snapshots + "\n");

    const std::string stored = tmp.file("别处/快照");
    ini.write("SnapShot", "Dir", stored);
    EXPECT_EQ(read_snapshot_folder(ini, snapshots), stored);
    EXPECT_TRUE(std::filesystem::is_directory(stored));
}

TEST(PictureType, WritesTheUpperCaseName) {
    TempDir tmp;
    const IniFile ini(tmp.path() / "option.ini");
    for (PictureType type :
         {PictureType::Jpg, PictureType::Gif, PictureType::Png, PictureType::Bmp}) {
        write_picture_type(ini, type);
        EXPECT_EQ(read_picture_type(ini), type);
    }
    EXPECT_EQ(ini.read("SnapShot", "Picture", ""), "BMP");
}

}  // namespace
}  // namespace velmora::settings
