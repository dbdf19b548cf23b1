// Program paths and the notification sound player (SDL's dummy audio driver).
#include <gtest/gtest.h>

#include <QDir>

#include "platform/app_paths.h"
#include "platform/wav_player.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace velmora::platform {
namespace {

TEST(WavPlayer, PlaysAWaveFileAndRefusesWhatIsNotOne) {
    velmora::testing::TempDir dir;
    ASSERT_TRUE(
        velmora::testing::run_ffmpeg("-f lavfi -i sine=duration=0.2", dir.path() / "ring.wav"));
    velmora::testing::write_file(dir.path() / "text.wav", "not a sound");
    WavPlayer player;
    EXPECT_TRUE(player.play_async(dir.file("ring.wav")));
    EXPECT_TRUE(player.play_async(dir.file("ring.wav")));  // cuts the first one off
    EXPECT_FALSE(player.play_async(dir.file("missing.wav")));
    EXPECT_FALSE(player.play_async(dir.file("text.wav")));
}

TEST(AppPaths, AWritableFolderKeepsEverythingBesideTheExecutable) {
    velmora::testing::TempDir dir;
    const QString folder = QString::fromStdString(dir.path().string());
    QDir().mkpath(folder + "/LibAV");
    const AppPaths paths = AppPaths::for_executable_dir(folder);
    EXPECT_EQ(paths.settings_file, folder + "/option.ini");
    EXPECT_EQ(paths.data_dir, folder);
    EXPECT_TRUE(paths.default_output_folder.endsWith(QStringLiteral("/Velmora视频软件/输出")));
    EXPECT_TRUE(paths.default_snapshot_folder.endsWith(QStringLiteral("/Velmora视频软件/快照")));
}

TEST(AppPaths, AnInstalledCopyKeepsSettingsInTheConfigurationFolder) {
    velmora::testing::TempDir dir;
    const QString config = QString::fromStdString(dir.file("config"));
    const QString bin = QString::fromStdString(dir.file("bin"));
    QDir().mkpath(bin);
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    const AppPaths paths = AppPaths::for_executable_dir(bin);
    EXPECT_EQ(paths.settings_file, config + "/velmora/option.ini");
    EXPECT_TRUE(QDir(config + "/velmora").exists());
    qunsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace velmora::platform
