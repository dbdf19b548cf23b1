// Run control of the encoder object: order of notifications, simultaneous tasks, pause,
// stop, in both worker modes.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "run_harness.h"

namespace velmora::testing {
namespace {

using media::WorkerMode;
using Type = RunEvent::Type;

class RunControl : public ::testing::TestWithParam<WorkerMode> {};

TEST_P(RunControl, ProgressThenTaskEndThenOneRunEndLast) {
    RunHarness h(GetParam());
    h.add(fake_input(600));
    h.add(fake_input(400));
    h.encoder.start(1);
    ASSERT_TRUE(h.pump_until([&] { return h.run_ended(); }));
    h.pump_for(200);

    ASSERT_EQ(h.count(Type::run_end), 1);
    EXPECT_EQ(h.events.back().type, Type::run_end);
    EXPECT_TRUE(h.events.back().end.Finished);
    EXPECT_FALSE(h.events.back().end.Exception);
    for (int task = 0; task < 2; ++task) {
        SCOPED_TRACE(task);
        ASSERT_EQ(h.count(Type::task_end, task), 1);
        const int end = h.first(Type::task_end, task);
        EXPECT_TRUE(h.events[static_cast<size_t>(end)].end.Finished);
        EXPECT_GT(h.count(Type::progress, task), 2);
        for (size_t i = static_cast<size_t>(end); i < h.events.size(); ++i) {
            EXPECT_FALSE(h.events[i].type == Type::progress &&
                         h.events[i].progress.TaskIndex == task);
        }
    }
    // One at a time: the second task converts only after the first ended.
    EXPECT_LT(h.first(Type::task_end, 0), h.first(Type::progress, 1));
    const RunEvent& progress = h.events[static_cast<size_t>(h.first(Type::progress, 1))];
    EXPECT_EQ(progress.progress.TotalDuration, 400000);
    EXPECT_EQ(read_file(h.dir.path() / "out1.avi"), "converted " + fake_input(400));
}

TEST_P(RunControl, ThirdOfThreeStartsWhenTheFirstOfTwoEnds) {
    RunHarness h(GetParam());
    h.add(fake_input(500));
    h.add(fake_input(2500));
    h.add(fake_input(500));
    h.encoder.start(2);
    ASSERT_TRUE(h.pump_until([&] { return h.run_ended(); }));

    EXPECT_LT(h.first(Type::progress, 1), h.first(Type::task_end, 0));  // two at once
    EXPECT_LT(h.first(Type::task_end, 0), h.first(Type::progress, 2));
    EXPECT_LT(h.first(Type::progress, 2), h.first(Type::task_end, 1));
    EXPECT_EQ(h.count(Type::task_end), 3);
}

TEST_P(RunControl, PauseHaltsEveryTaskAndResumeGoesOn) {
    RunHarness h(GetParam());
    h.add(fake_input(1500));
    h.add(fake_input(1500));
    h.encoder.start(2);
    ASSERT_TRUE(h.pump_until(
        [&] { return h.count(Type::progress, 0) > 0 && h.count(Type::progress, 1) > 0; }));
    h.encoder.pause();
    EXPECT_TRUE(h.encoder.paused());
    h.pump_for(600);  // what was under way when pausing arrives
    const size_t before = h.events.size();
    h.pump_for(800);
    EXPECT_EQ(h.events.size(), before) << "a paused task reported progress";
    EXPECT_EQ(h.count(Type::task_end), 0);

    h.encoder.resume();
    ASSERT_TRUE(h.pump_until([&] { return h.run_ended(); }));
    EXPECT_TRUE(h.end_of(0)->Finished);
    EXPECT_TRUE(h.end_of(1)->Finished);
}

TEST_P(RunControl, StopWhileTheFirstOfThreeConvertsGivesNoRunEnd) {
    RunHarness h(GetParam());
    for (int i = 0; i < 3; ++i) {
        h.add(fake_input(20000));
    }
    h.encoder.start(1);
    ASSERT_TRUE(h.pump_until([&] { return h.count(Type::progress, 0) > 0; }));
    h.encoder.stop_and_wait();
    EXPECT_EQ(h.count(Type::task_end), 0) << "task ends wait until the stop returned";
    EXPECT_FALSE(h.encoder.running());

    h.pump_for(500);
    ASSERT_EQ(h.count(Type::task_end), 1);
    EXPECT_FALSE(h.end_of(0)->Finished);
    EXPECT_FALSE(h.end_of(0)->Exception);
    EXPECT_FALSE(h.run_ended());
    EXPECT_EQ(h.count(Type::progress, 1), 0);
}

TEST_P(RunControl, StoppingAOneTaskRunEndsTheRun) {
    RunHarness h(GetParam());
    h.add(fake_input(20000));
    h.encoder.start(1);
    ASSERT_TRUE(h.pump_until([&] { return h.count(Type::progress) > 0; }));
    h.encoder.pause();
    h.encoder.stop_and_wait();  // a paused task stops as well
    h.pump_for(300);
    ASSERT_EQ(h.count(Type::task_end), 1);
    ASSERT_EQ(h.count(Type::run_end), 1);
    EXPECT_EQ(h.events.back().type, Type::run_end);
}

TEST_P(RunControl, StartAfterAStopConvertsEveryTaskAgain) {
    RunHarness h(GetParam());
    h.add(fake_input(20000));
    h.add(fake_input(200));
    h.encoder.start(1);
    ASSERT_TRUE(h.pump_until([&] { return h.count(Type::progress) > 0; }));
    h.encoder.pause();
    h.encoder.stop_and_wait();
    h.pump_for(100);
    h.events.clear();
    h.encoder.remove_task(0);  // between runs the list can change
    EXPECT_EQ(h.encoder.task_count(), 1);
    h.encoder.start(1);
    EXPECT_FALSE(h.encoder.paused());
    ASSERT_TRUE(h.pump_until([&] { return h.run_ended(); }));
    EXPECT_TRUE(h.end_of(0)->Finished);
}

TEST_P(RunControl, StopDoesNotDeadlockWithAWorkerWaitingForItsProgressHandler) {
    RunHarness h(GetParam());
    h.add(fake_input(20000, "ok", 20));
    h.add(fake_input(20000, "ok", 20));
    h.encoder.start(2);
    // Do not pump: both workers block on their first progress notification.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (h.queue.pending() < 2 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_GE(h.queue.pending(), 2);
    h.encoder.stop_and_wait();
    EXPECT_EQ(h.count(Type::progress), 2) << "the stop runs the waiting progress handlers";
    h.pump_for(200);
    EXPECT_EQ(h.count(Type::task_end), 2);
    EXPECT_EQ(h.count(Type::run_end), 1);
}

TEST_P(RunControl, StopFromInsideAProgressHandlerReturns) {
    RunHarness h(GetParam());
    h.add(fake_input(20000));
    h.add(fake_input(20000));
    bool stopped = false;
    h.progress_hook = [&](const media::TProgressInfo&) {
        if (!stopped) {
            stopped = true;
            h.encoder.stop_and_wait();
        }
    };
    h.encoder.start(1);
    ASSERT_TRUE(h.pump_until([&] { return h.count(Type::task_end) == 1; }));
    EXPECT_FALSE(h.encoder.running());
    h.pump_for(200);
    EXPECT_FALSE(h.run_ended());
}

TEST_P(RunControl, DetachedNotificationsNeverRunAndNeverBlock) {
    RunHarness h(GetParam());
    h.add(fake_input(20000, "ok", 20));
    h.encoder.start(1);
    ASSERT_TRUE(h.pump_until([&] { return h.count(Type::progress) > 0; }));
    h.encoder.detach_notifications();  // the window closes
    const size_t seen = h.events.size();
    h.pump_for(300);
    h.encoder.stop_and_wait();
    h.pump_for(200);
    EXPECT_EQ(h.events.size(), seen);
    EXPECT_FALSE(h.encoder.running());
}

TEST_P(RunControl, FailingTaskEndsWithItsTextAndTheRunGoesOn) {
    RunHarness h(GetParam());
    h.add(fake_input(300, "fail"));
    h.add(fake_input(300));
    media::TInputOptions in;
    media::TOutputOptions out;
    std::string error;
    const int refused = h.encoder.add_task(fake_input(300), in, error);
    EXPECT_FALSE(h.encoder.set_output_file(refused, h.dir.file("x.bad"), out, error));
    h.encoder.start(1);
    ASSERT_TRUE(h.pump_until([&] { return h.run_ended(); }));

    EXPECT_TRUE(h.end_of(0)->Exception);
    EXPECT_FALSE(h.end_of(0)->Finished);
    EXPECT_EQ(h.end_of(0)->ExceptionMsg, "fake failure of " + fake_input(300, "fail"));
    EXPECT_TRUE(h.end_of(1)->Finished);
    EXPECT_TRUE(h.end_of(2)->Exception);
    EXPECT_EQ(h.end_of(2)->ExceptionMsg, "No container writes " + h.dir.file("x.bad"));
}

TEST_P(RunControl, AnEmptyListEndsTheRunAtOnce) {
    RunHarness h(GetParam());
    h.encoder.start(3);
    ASSERT_TRUE(h.pump_until([&] { return h.run_ended(); }, 2000));
    EXPECT_EQ(h.events.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Modes, RunControl,
                         ::testing::Values(WorkerMode::process, WorkerMode::thread),
                         [](const auto& param_info) {
                             return param_info.param == WorkerMode::process ? "process" : "thread";
                         });

// Broken workers: only the process mode survives them.

TEST(WorkerProcess, CrashEndsOnlyItsTaskWithAClearTextAndLeavesNoPartialOutput) {
    RunHarness h;
    write_file(h.dir.path() / ".out0.part-1-0-1.avi", "another program's");
    h.add(fake_input(300, "crash"));
    h.add(fake_input(800));
    h.encoder.start(2);
    ASSERT_TRUE(h.pump_until([&] { return h.run_ended(); }));
    ASSERT_NE(h.end_of(0), nullptr);
    EXPECT_TRUE(h.end_of(0)->Exception);
    EXPECT_NE(h.end_of(0)->ExceptionMsg.find("crashed its worker process (signal 6, Aborted)"),
              std::string::npos)
        << h.end_of(0)->ExceptionMsg;
    EXPECT_NE(h.end_of(0)->ExceptionMsg.find(fake_input(300, "crash")), std::string::npos);
    EXPECT_TRUE(h.end_of(1)->Finished);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(h.dir.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".out0.part-1-0-1.avi", "out1.avi"}));
}

TEST(WorkerProcess, HangIsEndedAfterTheLimit) {
    RunHarness h;
    h.encoder.set_worker_limits(media::WorkerLimits{3000, 1000});
    h.add(fake_input(300, "hang"));
    h.add(fake_input(4000));
    h.encoder.start(2);
    ASSERT_TRUE(h.pump_until([&] { return h.run_ended(); }));
    EXPECT_TRUE(h.end_of(0)->Exception);
    EXPECT_NE(h.end_of(0)->ExceptionMsg.find("stopped responding"), std::string::npos)
        << h.end_of(0)->ExceptionMsg;
    EXPECT_TRUE(h.end_of(1)->Finished);
}

TEST(WorkerProcess, PausedWorkerIsNotTakenForAHang) {
    RunHarness h;
    h.encoder.set_worker_limits(media::WorkerLimits{2000, 1000});
    h.add(fake_input(600, "ok", 50));
    h.encoder.start(1);
    ASSERT_TRUE(h.pump_until([&] { return h.count(Type::progress) > 0; }));
    h.encoder.pause();
    h.pump_for(3500);
    h.encoder.resume();
    ASSERT_TRUE(h.pump_until([&] { return h.run_ended(); }));
    EXPECT_TRUE(h.end_of(0)->Finished) << h.end_of(0)->ExceptionMsg;
}

TEST(WorkerProcess, WorkerThatCannotRunIsNotTakenForAHang) {
    // A worker at idle priority on a busy machine may get no processor for long; a stopped
    // process stands in for it here.
    RunHarness h;
    h.encoder.set_worker_limits(media::WorkerLimits{1000, 1000});
    h.add(fake_input(1500, "ok", 50));
    h.encoder.start(1);
    ASSERT_TRUE(h.pump_until([&] { return h.count(Type::progress) > 0; }));
    const auto worker = static_cast<pid_t>(h.events.front().progress.BitRate);
    ASSERT_NE(worker, getpid());
    ASSERT_EQ(kill(worker, SIGSTOP), 0);
    h.pump_for(2500);
    ASSERT_EQ(kill(worker, SIGCONT), 0);
    ASSERT_TRUE(h.pump_until([&] { return h.run_ended(); }));
    EXPECT_TRUE(h.end_of(0)->Finished) << h.end_of(0)->ExceptionMsg;
}

TEST(WorkerProcess, WorkerDeafToStopIsKilled) {
    RunHarness h;
    h.encoder.set_worker_limits(media::WorkerLimits{60000, 500});
    h.add(fake_input(30000, "deaf"));
    h.encoder.start(1);
    ASSERT_TRUE(h.pump_until([&] { return h.count(Type::progress) > 0; }));
    h.encoder.stop_and_wait();
    h.pump_for(100);
    ASSERT_NE(h.end_of(0), nullptr);
    EXPECT_TRUE(h.end_of(0)->Exception);
    EXPECT_NE(h.end_of(0)->ExceptionMsg.find("did not answer the stop request"), std::string::npos);
}

TEST(WorkerProcess, MissingWorkerExecutableFailsTheTask) {
    TempDir dir;
    media::NotificationQueue queue;
    media::Encoder encoder(queue, fake_backend(), media::WorkerCommand{dir.file("nothing"), {}});
    std::vector<media::TTerminateInfo> ends;
    encoder.on_terminate([&](const media::TTerminateInfo& info) { ends.push_back(info); });
    media::TInputOptions in;
    media::TOutputOptions out;
    std::string error;
    encoder.set_output_file(encoder.add_task(fake_input(100), in, error), dir.file("o.avi"), out,
                            error);
    encoder.start(1);
    while (ends.size() < 2) {
        queue.wait_for_notifications(50);
        queue.pump();
    }
    EXPECT_TRUE(ends[0].Exception);
    EXPECT_NE(ends[0].ExceptionMsg.find("Cannot start the conversion worker"), std::string::npos);
    EXPECT_EQ(ends[1].TaskIndex, -1);
}

struct PriorityCase {
    media::TThreadPriority priority;
    int nice;
    int policy;
};

class WorkerPriority : public ::testing::TestWithParam<std::tuple<WorkerMode, PriorityCase>> {};

TEST_P(WorkerPriority, AppliedInTheWorker) {
    const auto [mode, expected] = GetParam();
    RunHarness h(mode);
    h.encoder.set_thread_priority(expected.priority);
    h.add(fake_input(200));
    h.encoder.start(1);
    ASSERT_TRUE(h.pump_until([&] { return h.run_ended(); }));
    const RunEvent& progress = h.events[static_cast<size_t>(h.first(Type::progress, 0))];
    EXPECT_EQ(static_cast<int>(progress.progress.Quality), expected.nice);
    EXPECT_EQ(progress.progress.FPS, expected.policy);
}

INSTANTIATE_TEST_SUITE_P(
    Priorities, WorkerPriority,
    ::testing::Combine(
        ::testing::Values(WorkerMode::process, WorkerMode::thread),
        ::testing::Values(PriorityCase{media::TThreadPriority::tpIdle, 19, SCHED_IDLE},
                          PriorityCase{media::TThreadPriority::tpLowest, 19, SCHED_OTHER},
                          PriorityCase{media::TThreadPriority::tpLower, 10, SCHED_OTHER},
                          PriorityCase{media::TThreadPriority::tpNormal, 0, SCHED_OTHER})));

}  // namespace
}  // namespace velmora::testing
