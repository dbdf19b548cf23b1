// The preview player against real clips: opening, playing, pausing, seeking, the end, sound
// only files, the shown picture, mute, bad files and stopping.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

#include "media/player.h"
#include "player_test_support.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace velmora::media {
namespace {

using namespace std::chrono_literals;
using testing::kBlue;
using testing::kGreen;
using testing::kRed;
using testing::RecordingSink;
using testing::Rgb;
using testing::UiQueue;

// The clips every test shares, made once.
struct Clips {
    velmora::testing::TempDir dir;
    std::string colours;     // 3 s red / green / blue, with sound
    std::string silent;      // the same pictures without sound
    std::string sound_only;  // 1 s tone
    std::string short_clip;  // 1 s test pattern with sound
};

class PlayerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        clips_ = new Clips();
        clips_->colours = clips_->dir.file("colours.mp4");
        clips_->silent = clips_->dir.file("silent.mp4");
        clips_->sound_only = clips_->dir.file("tone.m4a");
        clips_->short_clip = clips_->dir.file("short.mkv");
        ASSERT_TRUE(testing::make_colour_clip(clips_->colours));
        ASSERT_TRUE(testing::make_colour_clip(clips_->silent, false));
        ASSERT_TRUE(velmora::testing::make_audio_clip(clips_->sound_only, 1.0));
        ASSERT_TRUE(velmora::testing::make_av_clip(clips_->short_clip, 1.0, 160, 120, 25));
    }
    static void TearDownTestSuite() {
        delete clips_;
        clips_ = nullptr;
    }

    void SetUp() override {
        player_ = std::make_unique<Player>(ui_.poster());
        player_->OnFileOpen = [this](int64_t duration, int width, int height, int& screen_width,
                                     int& screen_height) {
            opened_.push_back({duration, width, height, screen_width, screen_height});
            if (display_width_ > 0) {
                screen_width = display_width_;
                screen_height = display_height_;
            }
        };
        player_->OnPosition = [this](int64_t pts) { positions_.push_back(pts); };
        player_->OnState = [this](TPlayState state) { states_.push_back(state); };
    }
    void TearDown() override {
        player_.reset();
        ui_.pump();
    }

    bool saw_state(TPlayState state) const {
        return std::find(states_.begin(), states_.end(), state) != states_.end();
    }
    bool pump_until_state(TPlayState state, std::chrono::milliseconds timeout = 8s) {
        return ui_.pump_until([&] { return saw_state(state); }, timeout);
    }
    // The picture shown after the first one is up.
    RgbPicture first_picture() {
        EXPECT_TRUE(player_->WaitForFirstPicture(5s));
        return player_->CurrentFrame();
    }

    struct Opened {
        int64_t duration;
        int width;
        int height;
        int screen_width;
        int screen_height;
    };

    static Clips* clips_;
    UiQueue ui_;  // declared before the player: the player posts to it until it is gone
    std::unique_ptr<Player> player_;
    RecordingSink sink_;
    int display_width_ = 0;
    int display_height_ = 0;
    std::vector<Opened> opened_;
    std::vector<int64_t> positions_;
    std::vector<TPlayState> states_;
};

Clips* PlayerTest::clips_ = nullptr;

TEST_F(PlayerTest, OpenPausedRaisesFileOpenInsideOpenWithDurationAndSizes) {
    display_width_ = 200;
    display_height_ = 124;
    ASSERT_TRUE(player_->Open(clips_->colours, &sink_, OpenStart::paused)) << player_->LastErrMsg();
    // Raised on this thread before Open returned, without pumping the queue.
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_NEAR(static_cast<double>(opened_[0].duration), 3e6, 1e5);
    EXPECT_EQ(opened_[0].width, 320);
    EXPECT_EQ(opened_[0].height, 240);
    EXPECT_EQ(player_->ScreenHandle(), &sink_);
    EXPECT_NE(player_->AVProbe().FileInfoText.find("Video: h264"), std::string::npos)
        << player_->AVProbe().FileInfoText;
    EXPECT_NE(player_->AVProbe().FileInfoText.find("Audio: aac"), std::string::npos);
    EXPECT_TRUE(player_->IsPaused());

    // Pictures come at the display size the handler chose, letterboxed: 320 x 240 into
    // 200 x 124 is 165 x 124 with black bars left and right.
    ASSERT_TRUE(player_->WaitForFirstPicture(5s));
    const RecordingSink::Seen seen = sink_.seen();
    EXPECT_EQ(seen.width, 200);
    EXPECT_EQ(seen.height, 124);
    EXPECT_TRUE(testing::near({seen.centre[0], seen.centre[1], seen.centre[2]}, kRed));
    EXPECT_TRUE(testing::near({seen.left_edge[0], seen.left_edge[1], seen.left_edge[2]}, {}));

    ui_.pump();
    EXPECT_EQ(states_, std::vector<TPlayState>{TPlayState::psPause});
}

TEST_F(PlayerTest, PausedOpenShowsTheFirstPictureAtTheVideosOwnSize) {
    display_width_ = 64;
    display_height_ = 48;
    ASSERT_TRUE(player_->Open(clips_->colours, &sink_, OpenStart::paused));
    const RgbPicture picture = first_picture();
    ASSERT_EQ(picture.width, 320);
    ASSERT_EQ(picture.height, 240);
    ASSERT_EQ(picture.rgb.size(), 320u * 240u * 3u);
    EXPECT_TRUE(testing::near(testing::centre_of(picture), kRed));
    // Paused: the picture stays.
    ui_.pump_for(300ms);
    EXPECT_TRUE(testing::near(testing::centre_of(player_->CurrentFrame()), kRed));
}

TEST_F(PlayerTest, PlayingReportsPositionsThatMoveByMoreThanTenMilliseconds) {
    ASSERT_TRUE(player_->Open(clips_->colours, &sink_, OpenStart::paused));
    ASSERT_TRUE(player_->WaitForFirstPicture(5s));
    ui_.pump();
    positions_.clear();
    const auto resumed_at = std::chrono::steady_clock::now();
    player_->Resume();
    ASSERT_TRUE(
        ui_.pump_until([&] { return !positions_.empty() && positions_.back() > 700000; }, 10s));
    const auto elapsed_us = std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::steady_clock::now() - resumed_at)
                                .count();
    ASSERT_TRUE(saw_state(TPlayState::psResume));
    ASSERT_GE(positions_.size(), 5u);
    for (size_t i = 1; i < positions_.size(); ++i) {
        EXPECT_GT(positions_[i] - positions_[i - 1], 10000) << "report " << i;
    }
    // The media time never runs ahead of the wall clock.
    EXPECT_LE(positions_.back(), elapsed_us + 50000);
    // The pictures follow the clock: past the first second the screen is green.
    ASSERT_TRUE(ui_.pump_until(
        [&] { return testing::near(testing::centre_of(player_->CurrentFrame()), kGreen); }, 3s));
}

TEST_F(PlayerTest, PauseStopsThePositionsAndResumeContinuesFromThere) {
    ASSERT_TRUE(player_->Open(clips_->colours, &sink_, OpenStart::playing));
    ASSERT_TRUE(
        ui_.pump_until([&] { return !positions_.empty() && positions_.back() > 300000; }, 5s));
    player_->Pause();
    ui_.pump_for(100ms);  // what the threads reported before the pause took effect
    const int64_t paused_at = positions_.back();
    positions_.clear();
    ui_.pump_for(500ms);
    EXPECT_TRUE(positions_.empty());
    EXPECT_TRUE(saw_state(TPlayState::psPause));

    player_->Resume();
    ASSERT_TRUE(ui_.pump_until([&] { return !positions_.empty(); }, 3s));
    EXPECT_GE(positions_.front(), paused_at - 50000);
    EXPECT_LT(positions_.front(), paused_at + 300000);
}

struct SeekCase {
    const char* name;
    int64_t target_us;
    SeekFlags flags;
    int64_t expected_us;  // where the clock lands
    Rgb colour;
};

void PrintTo(const SeekCase& c, std::ostream* out) {
    *out << c.name;
}

class PlayerSeekTest : public PlayerTest, public ::testing::WithParamInterface<SeekCase> {};

TEST_P(PlayerSeekTest, SeekingWhilePausedLandsNearTheTargetAndShowsItsPicture) {
    const SeekCase& c = GetParam();
    ASSERT_TRUE(player_->Open(clips_->colours, &sink_, OpenStart::paused));
    ASSERT_TRUE(player_->WaitForFirstPicture(5s));
    ui_.pump();
    positions_.clear();
    player_->Seek(c.target_us, c.flags, SeekWait::wait_for_seek_end);
    const RgbPicture picture = player_->CurrentFrame();
    ASSERT_EQ(picture.width, 320);
    EXPECT_TRUE(testing::near(testing::centre_of(picture), c.colour));
    // A report from before the seek may still come first; the last one is the target.
    EXPECT_TRUE(ui_.pump_until(
        [&] { return !positions_.empty() && std::abs(positions_.back() - c.expected_us) < 60000; },
        3s))
        << (positions_.empty() ? -1 : positions_.back());
    EXPECT_TRUE(player_->IsPaused());
}

INSTANTIATE_TEST_SUITE_P(
    Targets, PlayerSeekTest,
    ::testing::Values(SeekCase{"into_the_second_second", 1500000, SeekFlags::none, 1500000, kGreen},
                      SeekCase{"into_the_third_second", 2500000, SeekFlags::none, 2500000, kBlue},
                      SeekCase{"within_the_first_second", 600000, SeekFlags::none, 600000, kRed},
                      SeekCase{"to_the_start_any_frame", 0, SeekFlags::sfAny, 0, kRed},
                      // Clamped to the duration: the last picture.
                      SeekCase{"past_the_end", 60000000, SeekFlags::none, 3000000, kBlue},
                      SeekCase{"before_the_start", -5000000, SeekFlags::none, 0, kRed}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

TEST_F(PlayerTest, SeekingWhilePlayingKeepsPlayingFromTheTarget) {
    ASSERT_TRUE(player_->Open(clips_->colours, &sink_, OpenStart::playing));
    ASSERT_TRUE(ui_.pump_until([&] { return !positions_.empty(); }, 5s));
    player_->Seek(2000000, SeekFlags::none, SeekWait::wait_for_seek_end);
    ui_.pump();  // reports made before the seek took effect
    positions_.clear();
    ASSERT_TRUE(
        ui_.pump_until([&] { return !positions_.empty() && positions_.back() > 2200000; }, 5s));
    EXPECT_GE(positions_.front(), 1950000);
    EXPECT_TRUE(testing::near(testing::centre_of(player_->CurrentFrame()), kBlue));
}

struct EndCase {
    const char* name;
    std::string Clips::*clip;
    bool video;
};

void PrintTo(const EndCase& c, std::ostream* out) {
    *out << c.name;
}

class PlayerEndTest : public PlayerTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(PlayerEndTest, PlayingToTheEndRaisesEndAndTheFileStaysOpenForSeekingBack) {
    const EndCase& c = GetParam();
    ASSERT_TRUE(player_->Open(clips_->*c.clip, &sink_, OpenStart::playing))
        << player_->LastErrMsg();
    ASSERT_TRUE(pump_until_state(TPlayState::psEnd, 10s));
    ASSERT_FALSE(positions_.empty());
    EXPECT_GT(positions_.back(), opened_[0].duration * 8 / 10);
    EXPECT_LE(positions_.back(), opened_[0].duration);
    // What the window does on the end: back to the start, paused.
    player_->Seek(0, SeekFlags::sfAny, SeekWait::wait_for_seek_end);
    player_->Pause();
    EXPECT_TRUE(player_->IsOpen());
    EXPECT_TRUE(player_->IsPaused());
    if (c.video) {
        EXPECT_TRUE(testing::near(testing::centre_of(player_->CurrentFrame()), kRed));
    }
    // And it plays to the end again.
    states_.clear();
    player_->Resume();
    ASSERT_TRUE(pump_until_state(TPlayState::psEnd, 10s));
}

INSTANTIATE_TEST_SUITE_P(Files, PlayerEndTest,
                         ::testing::Values(EndCase{"picture_and_sound", &Clips::colours, true},
                                           EndCase{"picture_only", &Clips::silent, true},
                                           EndCase{"sound_only", &Clips::sound_only, false}),
                         [](const auto& test_case) { return std::string(test_case.param.name); });

TEST_F(PlayerTest, SoundOnlyFilePlaysWithoutPictures) {
    ASSERT_TRUE(player_->Open(clips_->sound_only, &sink_, OpenStart::paused));
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0].width, -1);
    EXPECT_EQ(opened_[0].height, -1);
    EXPECT_NEAR(static_cast<double>(opened_[0].duration), 1e6, 1e5);
    const RgbPicture picture = player_->CurrentFrame();
    EXPECT_EQ(picture.width, 0);
    EXPECT_EQ(picture.height, 0);
    EXPECT_TRUE(picture.rgb.empty());
    player_->Resume();
    ASSERT_TRUE(
        ui_.pump_until([&] { return !positions_.empty() && positions_.back() > 200000; }, 5s));
    player_->Seek(500000, SeekFlags::none, SeekWait::wait_for_seek_end);
    ui_.pump();  // reports made before the seek took effect
    positions_.clear();
    ASSERT_TRUE(ui_.pump_until([&] { return !positions_.empty(); }, 3s));
    EXPECT_GE(positions_.front(), 450000);
    EXPECT_EQ(sink_.seen().presented, 0);
}

TEST_F(PlayerTest, WithoutASoundOutputFilesStillPlayOnTheSystemClock) {
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    const std::string driver = saved ? saved : "";
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    for (const std::string* clip : {&clips_->sound_only, &clips_->short_clip}) {
        SCOPED_TRACE(*clip);
        states_.clear();
        positions_.clear();
        const auto opened_at = std::chrono::steady_clock::now();
        ASSERT_TRUE(player_->Open(*clip, &sink_, OpenStart::playing)) << player_->LastErrMsg();
        ASSERT_TRUE(pump_until_state(TPlayState::psEnd, 10s));
        // It took the clip's length, not an instant.
        EXPECT_GT(std::chrono::steady_clock::now() - opened_at, 800ms);
        ASSERT_FALSE(positions_.empty());
        EXPECT_GT(positions_.back(), 800000);
    }
    setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
}

TEST_F(PlayerTest, MuteCarriesOverToTheNextFileAndKeepsTheClockRunning) {
    player_->SetMute(true);
    ASSERT_TRUE(player_->Open(clips_->colours, &sink_, OpenStart::paused));
    EXPECT_TRUE(player_->Mute());
    ASSERT_TRUE(player_->Open(clips_->short_clip, &sink_, OpenStart::playing));
    EXPECT_TRUE(player_->Mute());
    ASSERT_TRUE(pump_until_state(TPlayState::psEnd, 10s));
    player_->SetMute(false);
    ASSERT_TRUE(player_->Open(clips_->short_clip, &sink_, OpenStart::paused));
    EXPECT_FALSE(player_->Mute());
}

TEST_F(PlayerTest, BadFilesFailWithAClearTextAndLeaveNothingOpen) {
    const velmora::testing::TempDir dir;
    const std::string random_bytes = dir.file("noise.mp4");
    {
        std::ofstream out(random_bytes, std::ios::binary);
        uint32_t x = 12345;
        for (int i = 0; i < 200000; ++i) {
            x = x * 1664525u + 1013904223u;
            out.put(static_cast<char>(x >> 24));
        }
    }
    const std::string empty = dir.file("empty.avi");
    std::ofstream(empty).close();
    const std::string text = dir.file("notes.mkv");
    velmora::testing::write_file(text, "not a video at all\n");
    // An MP4 whose index sits at its end, cut in half: the index is lost.
    const std::string whole = dir.file("whole.mp4");
    ASSERT_TRUE(testing::make_colour_clip(whole));
    const std::string truncated = dir.file("truncated.mp4");
    {
        const std::string bytes = velmora::testing::read_file(whole);
        velmora::testing::write_file(truncated, bytes.substr(0, bytes.size() / 2));
    }
    struct Case {
        std::string path;
        std::string reason;
    };
    for (const Case& c : {Case{dir.file("missing.mp4"), "No such file or directory"},
                          Case{random_bytes, "Invalid data"}, Case{empty, "Invalid data"},
                          Case{text, "Invalid data"}, Case{truncated, ""}}) {
        SCOPED_TRACE(c.path);
        opened_.clear();
        EXPECT_FALSE(player_->Open(c.path, &sink_, OpenStart::paused));
        EXPECT_NE(player_->LastErrMsg().find(c.path), std::string::npos) << player_->LastErrMsg();
        EXPECT_NE(player_->LastErrMsg().find(c.reason), std::string::npos) << player_->LastErrMsg();
        EXPECT_TRUE(opened_.empty());
        EXPECT_FALSE(player_->IsOpen());
        EXPECT_EQ(player_->CurrentFrame().width, 0);
        player_->Resume();
        player_->Seek(1000000, SeekFlags::none, SeekWait::wait_for_seek_end);
        player_->Pause();
    }
    // A good file opens after them.
    EXPECT_TRUE(player_->Open(clips_->colours, &sink_, OpenStart::paused));
}

TEST_F(PlayerTest, FileCutShortWithItsIndexInFrontPlaysToWhereItEnds) {
    const velmora::testing::TempDir dir;
    const std::string whole = dir.file("front.mp4");
    ASSERT_TRUE(testing::make_colour_clip(whole, true, "-movflags +faststart"));
    const std::string truncated = dir.file("cut.mp4");
    const std::string bytes = velmora::testing::read_file(whole);
    velmora::testing::write_file(truncated, bytes.substr(0, bytes.size() * 6 / 10));
    ASSERT_TRUE(player_->Open(truncated, &sink_, OpenStart::playing)) << player_->LastErrMsg();
    ASSERT_TRUE(pump_until_state(TPlayState::psEnd, 10s));
    player_->Seek(2900000, SeekFlags::none, SeekWait::wait_for_seek_end);
    player_->Seek(100000, SeekFlags::sfAny, SeekWait::wait_for_seek_end);
}

TEST_F(PlayerTest, StopIsHarmlessFromEveryStateAndTwice) {
    // Nothing open: nothing happens.
    player_->Stop(StopMode::wait_for_stop);
    ui_.pump();
    EXPECT_TRUE(states_.empty());
    EXPECT_EQ(player_->ScreenHandle(), nullptr);

    struct Step {
        const char* name;
        std::function<void()> reach;
    };
    const std::vector<Step> steps = {
        {"paused", [&] { ASSERT_TRUE(player_->Open(clips_->colours, &sink_, OpenStart::paused)); }},
        {"playing",
         [&] {
             ASSERT_TRUE(player_->Open(clips_->colours, &sink_, OpenStart::playing));
             ui_.pump_for(200ms);
         }},
        {"seeking",
         [&] {
             ASSERT_TRUE(player_->Open(clips_->colours, &sink_, OpenStart::playing));
             player_->Seek(2000000, SeekFlags::none, SeekWait::no_wait);
         }},
        {"ended",
         [&] {
             ASSERT_TRUE(player_->Open(clips_->short_clip, &sink_, OpenStart::playing));
             ASSERT_TRUE(pump_until_state(TPlayState::psEnd, 10s));
         }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.reach();
        ui_.pump();
        states_.clear();
        const int cleared = sink_.seen().cleared;
        player_->Stop(StopMode::wait_for_stop);
        EXPECT_FALSE(player_->IsOpen());
        EXPECT_EQ(player_->CurrentFrame().width, 0);
        EXPECT_EQ(sink_.seen().cleared, cleared + 1);
        EXPECT_TRUE(player_->AVProbe().FileInfoText.empty());
        player_->Stop(StopMode::wait_for_stop);
        ui_.pump_for(50ms);
        EXPECT_EQ(states_, std::vector<TPlayState>{TPlayState::psStop});
        EXPECT_EQ(player_->ScreenHandle(), &sink_);
        // Nothing is shown after the stop.
        const int presented = sink_.seen().presented;
        ui_.pump_for(100ms);
        EXPECT_EQ(sink_.seen().presented, presented);
    }
}

TEST_F(PlayerTest, OpeningAnotherFileStopsTheFirstAndDropsItsLateReports) {
    ASSERT_TRUE(player_->Open(clips_->short_clip, &sink_, OpenStart::playing));
    ui_.pump_for(300ms);
    // Reports of the first file still queued when the second opens must not reach the window.
    player_->Stop(StopMode::no_wait);
    ASSERT_TRUE(player_->Open(clips_->colours, &sink_, OpenStart::paused));
    positions_.clear();
    states_.clear();
    ui_.pump_for(1500ms);
    EXPECT_EQ(states_, (std::vector<TPlayState>{TPlayState::psStop, TPlayState::psPause}));
    for (int64_t position : positions_) {
        EXPECT_EQ(position, 0);  // only the paused second file's start
    }
    EXPECT_TRUE(testing::near(testing::centre_of(player_->CurrentFrame()), kRed));
}

TEST_F(PlayerTest, UpdateScreenPositionShowsThePictureAgain) {
    ASSERT_TRUE(player_->Open(clips_->colours, &sink_, OpenStart::paused));
    ASSERT_TRUE(player_->WaitForFirstPicture(5s));
    ui_.pump_for(100ms);
    const int presented = sink_.seen().presented;
    player_->UpdateScreenPosition();
    ASSERT_TRUE(ui_.pump_until([&] { return sink_.seen().presented > presented; }, 2s));
}

TEST_F(PlayerTest, ReportsQueuedWhenThePlayerIsDestroyedAreDropped) {
    ASSERT_TRUE(player_->Open(clips_->colours, &sink_, OpenStart::playing));
    std::this_thread::sleep_for(300ms);
    player_.reset();
    positions_.clear();
    states_.clear();
    ui_.pump();
    EXPECT_TRUE(positions_.empty());
    EXPECT_TRUE(states_.empty());
}

TEST_F(PlayerTest, LibrariesLoadFromAnyFolder) {
    EXPECT_FALSE(player_->AVLibLoaded());
    EXPECT_TRUE(player_->LoadAVLib("/nonexistent/LibAV")) << player_->LastErrMsg();
    EXPECT_TRUE(player_->AVLibLoaded());
}

}  // namespace
}  // namespace velmora::media
