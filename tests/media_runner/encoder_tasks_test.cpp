// The encoder object's task list, its preview switch and its logger.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include "media/logger.h"
#include "media/preview_window.h"
#include "run_harness.h"

extern "C" {
#include <libavutil/log.h>
}

namespace velmora::testing {
namespace {

using Type = RunEvent::Type;

TEST(EncoderTasks, LoadLibrariesReportsTheBackendsText) {
    RunHarness h;
    EXPECT_TRUE(h.encoder.libraries_loaded());
    std::string error;
    EXPECT_FALSE(h.encoder.load_libraries("", error));
    EXPECT_EQ(error, "no LibAV folder");
    EXPECT_FALSE(h.encoder.libraries_loaded());
}

TEST(EncoderTasks, AddFillsTheFileNameOrFailsWithTheText) {
    RunHarness h;
    media::TInputOptions in;
    std::string error;
    EXPECT_EQ(h.encoder.add_task(fake_input(100), in, error), 0);
    EXPECT_EQ(in.FileName, fake_input(100));
    EXPECT_EQ(h.encoder.task_info_text(0), "fake input " + fake_input(100));

    media::TInputOptions bad;
    EXPECT_EQ(h.encoder.add_task("/no/such.mp4", bad, error), -1);
    EXPECT_EQ(error, "Cannot open /no/such.mp4: not media");
    EXPECT_EQ(bad.FileName, "");
    EXPECT_EQ(h.encoder.task_count(), 1);
}

TEST(EncoderTasks, SetOutputFillsAnEmptyFileNameOnlyAndValidatesAtOnce) {
    RunHarness h;
    media::TInputOptions in;
    std::string error;
    const int task = h.encoder.add_task(fake_input(100), in, error);

    media::TOutputOptions fresh;
    EXPECT_TRUE(h.encoder.set_output_file(task, "/out/a.avi", fresh, error));
    EXPECT_EQ(fresh.FileName, "/out/a.avi");

    media::TOutputOptions named;
    named.FileName = "/old/a.avi";
    EXPECT_TRUE(h.encoder.set_output_file(task, "/new/a.avi", named, error));
    EXPECT_EQ(named.FileName, "/old/a.avi");

    media::TOutputOptions refused;
    EXPECT_FALSE(h.encoder.set_output_file(task, "/out/a.bad", refused, error));
    EXPECT_EQ(error, "No container writes /out/a.bad");
    EXPECT_FALSE(h.encoder.set_output_file(5, "/out/b.avi", refused, error));
    EXPECT_FALSE(error.empty());
}

TEST(EncoderTasks, OutputGoesToTheAttachedPathNotTheRecordsOldName) {
    RunHarness h;
    media::TInputOptions in;
    media::TOutputOptions out;
    out.FileName = h.dir.file("old.avi");
    std::string error;
    const int task = h.encoder.add_task(fake_input(100), in, error);
    ASSERT_TRUE(h.encoder.set_output_file(task, h.dir.file("new.avi"), out, error));
    h.encoder.start(1);
    ASSERT_TRUE(h.pump_until([&] { return h.run_ended(); }));
    EXPECT_FALSE(std::filesystem::exists(h.dir.path() / "old.avi"));
    EXPECT_TRUE(std::filesystem::exists(h.dir.path() / "new.avi"));
}

TEST(EncoderTasks, RemoveMovesLaterTasksDownAndClearEmpties) {
    RunHarness h;
    h.add(fake_input(100, "ok", 10));
    h.add(fake_input(200, "ok", 10));
    h.add(fake_input(300, "ok", 10));
    h.encoder.remove_task(1);
    h.encoder.remove_task(7);  // no such task: nothing
    ASSERT_EQ(h.encoder.task_count(), 2);
    EXPECT_EQ(h.encoder.task_info_text(1), "fake input " + fake_input(300, "ok", 10));
    h.encoder.start(1);
    ASSERT_TRUE(h.pump_until([&] { return h.run_ended(); }));
    EXPECT_EQ(h.count(Type::task_end), 2);
    const RunEvent& second = h.events[static_cast<size_t>(h.first(Type::progress, 1))];
    EXPECT_EQ(second.progress.TotalDuration, 300000);

    h.encoder.clear_tasks();
    EXPECT_EQ(h.encoder.task_count(), 0);
}

TEST(EncoderTasks, TaskWithoutAnOutputEndsWithAText) {
    RunHarness h;
    media::TInputOptions in;
    std::string error;
    h.encoder.add_task(fake_input(100), in, error);
    h.encoder.start(1);
    ASSERT_TRUE(h.pump_until([&] { return h.run_ended(); }));
    EXPECT_TRUE(h.end_of(0)->Exception);
    EXPECT_EQ(h.end_of(0)->ExceptionMsg, "No output file was set for \"" + fake_input(100) + "\".");
}

TEST(EncoderTasks, ListCannotChangeDuringARun) {
    RunHarness h;
    h.add(fake_input(20000));
    h.encoder.start(1);
    h.encoder.remove_task(0);
    h.encoder.clear_tasks();
    EXPECT_EQ(h.encoder.task_count(), 1);
    EXPECT_TRUE(h.encoder.running());
    h.encoder.stop_and_wait();
}

class RecordingSink : public media::PreviewSink {
  public:
    void show(const media::PreviewPicture& picture) override {
        ++shown;
        last_width = picture.width;
        tasks.push_back(picture.task_index);
    }
    void hide() override { ++hidden; }
    int shown = 0;
    int hidden = 0;
    int last_width = 0;
    std::vector<int> tasks;
};

class EncoderPreview : public ::testing::TestWithParam<media::WorkerMode> {};

TEST_P(EncoderPreview, SwitchingDuringARunTakesEffectAtOnce) {
    RunHarness h(GetParam());
    RecordingSink sink;
    h.encoder.set_preview_sink(&sink);
    h.add(fake_input(3000, "ok", 50));
    h.encoder.start(1);
    ASSERT_TRUE(h.pump_until([&] { return h.count(Type::progress) > 2; }));
    EXPECT_EQ(sink.shown, 0) << "preview is off";

    h.encoder.set_preview(true);
    ASSERT_TRUE(h.pump_until([&] { return sink.shown >= 2; }, 5000));
    EXPECT_EQ(sink.last_width, 64);
    const int progress_before = h.count(Type::progress);
    h.pump_for(1000);
    const int pictures_per_progress_window = sink.shown;
    EXPECT_LE(pictures_per_progress_window, 2 + 6);  // throttled to about 5 a second
    EXPECT_GT(h.count(Type::progress), progress_before);

    h.encoder.set_preview(false);
    EXPECT_EQ(sink.hidden, 1);
    const int shown = sink.shown;
    h.pump_for(600);
    EXPECT_EQ(sink.shown, shown) << "pictures after the switch went off";
    h.encoder.stop_and_wait();
}

TEST_P(EncoderPreview, FollowsOneTaskWhileSeveralConvert) {
    RunHarness h(GetParam());
    RecordingSink sink;
    h.encoder.set_preview_sink(&sink);
    h.encoder.set_preview(true);
    h.add(fake_input(1500, "ok", 50));
    h.add(fake_input(4000, "ok", 50));
    h.encoder.start(2);
    ASSERT_TRUE(h.pump_until([&] { return h.run_ended(); }));
    ASSERT_GE(sink.tasks.size(), 4u);
    // The first task shown is kept until it ends, then the other one follows.
    const int first = sink.tasks.front();
    const auto switched =
        std::find_if(sink.tasks.begin(), sink.tasks.end(), [&](int task) { return task != first; });
    EXPECT_TRUE(std::all_of(switched, sink.tasks.end(), [&](int task) { return task != first; }));
}

INSTANTIATE_TEST_SUITE_P(Modes, EncoderPreview,
                         ::testing::Values(media::WorkerMode::process, media::WorkerMode::thread));

TEST(PreviewWindow, ShowsPicturesInAnSdlWindowAndHides) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    struct sigaction before {};
    sigaction(SIGINT, nullptr, &before);
    media::PreviewWindow window;
    media::PreviewPicture picture{0, 32, 24, std::vector<uint8_t>(32 * 3 * 24, 200)};
    window.show(picture);
    if (!window.error().empty()) {
        GTEST_SKIP() << window.error();
    }
    EXPECT_TRUE(window.visible());
    struct sigaction after {};
    sigaction(SIGINT, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler) << "SDL took over Ctrl+C";
    window.show(picture);
    EXPECT_EQ(window.shown_count(), 2);
    window.show(media::PreviewPicture{0, 32, 24, {}});  // damaged: ignored
    EXPECT_EQ(window.shown_count(), 2);
    window.hide();
    EXPECT_FALSE(window.visible());
}

TEST(Logger, WorkerLinesReachTheHandlerInTheLogFormat) {
    RunHarness h;
    media::Logger logger(h.queue);
    std::vector<std::string> lines;
    logger.on_line([&](const std::string& line) { lines.push_back(line); });
    h.encoder.set_logger(&logger);
    h.add(fake_input(200, "log"));
    h.encoder.start(1);
    ASSERT_TRUE(h.pump_until([&] { return h.run_ended(); }));
    h.pump_for(100);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("#")) << lines[0];
    EXPECT_TRUE(lines[0].ends_with(".4: fake warning 7")) << lines[0];
    logger.detach();
}

TEST(Logger, CapturesThisProcessJoiningPiecesAndDroppingQuietLevels) {
    media::NotificationQueue queue;
    media::Logger logger(queue);
    std::vector<std::string> lines;
    logger.on_line([&](const std::string& line) { lines.push_back(line); });
    logger.capture_this_process(true);
    av_log(nullptr, AV_LOG_ERROR, "first %s", "half");
    av_log(nullptr, AV_LOG_ERROR, " second half\n");
    av_log(nullptr, AV_LOG_DEBUG, "not shown at the default level\n");
    std::thread other([] { av_log(nullptr, AV_LOG_INFO, "from another thread\n"); });
    other.join();
    queue.pump();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].ends_with(".3: first half second half")) << lines[0];
    EXPECT_EQ(lines[0].find("#" + std::to_string(gettid()) + "."), 0u) << lines[0];
    EXPECT_TRUE(lines[1].ends_with(".5: from another thread")) << lines[1];
    logger.capture_this_process(false);
    av_log(nullptr, AV_LOG_ERROR, "after the capture ended\n");
    queue.pump();
    EXPECT_EQ(lines.size(), 2u);
    logger.detach();
    av_log(nullptr, AV_LOG_ERROR, "after detach\n");
    queue.pump();
    EXPECT_EQ(lines.size(), 2u);
}

TEST(Logger, AFloodOfLinesIsCountedNotQueued) {
    media::NotificationQueue queue;
    media::Logger logger(queue);
    int delivered = 0;
    std::string last;
    std::string before_last;
    logger.on_line([&](const std::string& line) {
        ++delivered;
        before_last = last;
        last = line;
    });
    for (int i = 0; i < 2500; ++i) {
        logger.deliver(media::LogLine{1, 4, "concealing errors"});
    }
    EXPECT_EQ(queue.pending(), 2000);
    EXPECT_EQ(logger.dropped_count(), 500);
    while (queue.pump() > 0) {
    }
    EXPECT_EQ(delivered, 2000);
    logger.deliver(media::LogLine{1, 4, "after catching up"});
    queue.pump();
    EXPECT_EQ(delivered, 2002);
    EXPECT_EQ(before_last, "#1.4: 500 log lines were dropped");
    EXPECT_EQ(last, "#1.4: after catching up");
    EXPECT_EQ(logger.dropped_count(), 0);
}

}  // namespace
}  // namespace velmora::testing
