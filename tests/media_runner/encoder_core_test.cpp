// The encoder object on the real transcoding core, with worker processes, on generated clips.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "media/encoder.h"
#include "media/worker.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace velmora::testing {
namespace {

class CoreRun : public ::testing::Test {
  protected:
    CoreRun()
        : encoder(queue, media::core_engine_backend(),
                  media::WorkerCommand{VELMORA_CORE_WORKER, {media::kWorkerSwitch}}) {
        encoder.on_progress([this](const media::TProgressInfo& info) { progress.push_back(info); });
        encoder.on_terminate([this](const media::TTerminateInfo& info) { ends.push_back(info); });
    }

    bool run_ended() const { return !ends.empty() && ends.back().TaskIndex == -1; }
    bool pump_until(const std::function<bool()>& done, int timeout_ms = 120000) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            queue.wait_for_notifications(20);
            queue.pump();
        }
        return true;
    }

    TempDir dir;
    media::NotificationQueue queue;
    media::Encoder encoder;
    std::vector<media::TProgressInfo> progress;
    std::vector<media::TTerminateInfo> ends;
};

TEST_F(CoreRun, ConvertsAClipInAWorkerProcess) {
    const auto clip = dir.path() / "clip.mp4";
    ASSERT_TRUE(make_av_clip(clip, 2.0));
    std::string error;
    ASSERT_TRUE(encoder.load_libraries(dir.file("LibAV"), error)) << error;
    media::TInputOptions in;
    const int task = encoder.add_task(clip.string(), in, error);
    ASSERT_EQ(task, 0) << error;
    EXPECT_FALSE(encoder.task_info_text(0).empty());
    media::TOutputOptions out;
    out.FileExt = ".avi";
    out.VideoCodec = "mpeg4";
    out.AudioCodec = "libmp3lame";
    ASSERT_TRUE(encoder.set_output_file(task, dir.file("clip.avi"), out, error)) << error;
    encoder.set_thread_priority(media::TThreadPriority::tpLower);
    encoder.start(1);
    ASSERT_TRUE(pump_until([&] { return run_ended(); }));

    ASSERT_EQ(ends.size(), 2u);
    EXPECT_TRUE(ends[0].Finished) << ends[0].ExceptionMsg;
    EXPECT_FALSE(ends[0].Exception);
    ASSERT_FALSE(progress.empty());
    EXPECT_NEAR(static_cast<double>(progress.back().TotalDuration), 2e6, 1e5);
    EXPECT_GT(std::filesystem::file_size(dir.path() / "clip.avi"), 10000u);
}

TEST_F(CoreRun, RefusedOutputAndUnreadableInputsGiveTexts) {
    std::string error;
    std::ofstream(dir.path() / "empty.mp4").close();
    {
        std::ofstream noise(dir.path() / "noise.mp4", std::ios::binary);
        for (int i = 0; i < 100000; ++i) {
            noise.put(static_cast<char>((i * 7919) % 251));
        }
    }
    for (const std::string name : {"empty.mp4", "noise.mp4", "missing.mp4", ""}) {
        SCOPED_TRACE(name);
        media::TInputOptions in;
        error.clear();
        EXPECT_EQ(encoder.add_task(dir.file(name), in, error), -1);
        EXPECT_FALSE(error.empty());
    }
    const auto clip = dir.path() / "clip.mp4";
    ASSERT_TRUE(make_av_clip(clip, 0.5));
    media::TInputOptions in;
    const int task = encoder.add_task(clip.string(), in, error);
    ASSERT_EQ(task, 0) << error;
    media::TOutputOptions out;
    out.FileExt = ".mp4";
    out.VideoCodec = "no_such_encoder_at_all";
    out.FileFormat = "no_such_container";
    error.clear();
    EXPECT_FALSE(encoder.set_output_file(task, dir.file("x.mp4"), out, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(out.FileName.empty());
}

TEST_F(CoreRun, StoppedConversionEndsWithoutAnError) {
    const auto clip = dir.path() / "long.mp4";
    ASSERT_TRUE(make_av_clip(clip, 10.0, 640, 480));
    std::string error;
    media::TInputOptions in;
    ASSERT_EQ(encoder.add_task(clip.string(), in, error), 0) << error;
    media::TOutputOptions out;
    out.FileExt = ".avi";
    out.VideoCodec = "mpeg4";
    ASSERT_TRUE(encoder.set_output_file(0, dir.file("long.avi"), out, error)) << error;
    encoder.start(1);
    ASSERT_TRUE(pump_until([&] { return !progress.empty(); }));
    encoder.stop_and_wait();
    ASSERT_TRUE(pump_until([&] { return run_ended(); }, 5000));
    EXPECT_FALSE(ends[0].Finished);
    EXPECT_FALSE(ends[0].Exception) << ends[0].ExceptionMsg;
    // What was converted before the stop is kept as a playable file.
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "long.avi"));
}

}  // namespace
}  // namespace velmora::testing
