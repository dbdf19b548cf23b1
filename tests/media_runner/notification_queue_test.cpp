// The notification queue between worker threads and the user-interface thread.
#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <thread>

#include "media/notification_queue.h"

namespace velmora::media {
namespace {

bool readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 0) == 1;
}

TEST(NotificationQueue, WaitingPostReturnsOnlyAfterItsHandlerRanOnThePumpingThread) {
    NotificationQueue queue;
    const auto source = queue.open_source();
    const auto pumping_thread = std::this_thread::get_id();
    std::atomic<bool> returned{false};
    std::thread::id ran_on;
    std::thread worker([&] {
        queue.post(
            source, NotificationKind::progress, [&] { ran_on = std::this_thread::get_id(); },
            PostMode::wait_for_handler);
        returned = true;
    });
    while (queue.pending() == 0) {
        std::this_thread::yield();
    }
    EXPECT_TRUE(readable(queue.wake_fd()));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(returned.load());
    EXPECT_EQ(queue.pump(), 1);
    worker.join();
    EXPECT_TRUE(returned.load());
    EXPECT_EQ(ran_on, pumping_thread);
    EXPECT_FALSE(readable(queue.wake_fd()));
}

TEST(NotificationQueue, HandlersRunInPostingOrderAndPumpOnlyKeepsTheRestInOrder) {
    NotificationQueue queue;
    const auto a = queue.open_source();
    const auto b = queue.open_source();
    std::string trace;
    queue.post(a, NotificationKind::task_end, [&] { trace += "E1"; });
    queue.post(a, NotificationKind::progress, [&] { trace += "P1"; });
    queue.post(b, NotificationKind::progress, [&] { trace += "Q1"; });
    queue.post(a, NotificationKind::run_end, [&] { trace += "R"; });
    queue.post(a, NotificationKind::progress, [&] { trace += "P2"; });
    EXPECT_EQ(queue.pump_only(a, NotificationKind::progress), 2);
    EXPECT_EQ(trace, "P1P2");
    queue.pump();
    EXPECT_EQ(trace, "P1P2E1Q1R");
}

TEST(NotificationQueue, DetachDropsPendingAndReleasesWaitersOfThatSourceOnly) {
    NotificationQueue queue;
    const auto a = queue.open_source();
    const auto b = queue.open_source();
    int ran = 0;
    std::thread worker([&] {
        queue.post(
            a, NotificationKind::progress, [&] { ++ran; }, PostMode::wait_for_handler);
    });
    queue.post(b, NotificationKind::log_line, [&] { ran += 10; });
    while (queue.pending() < 2) {
        std::this_thread::yield();
    }
    queue.detach(a);
    worker.join();  // released without a pump
    EXPECT_FALSE(queue.post(
        a, NotificationKind::progress, [&] { ++ran; }, PostMode::wait_for_handler));
    queue.pump();
    EXPECT_EQ(ran, 10);
    EXPECT_TRUE(queue.detached(a));
    EXPECT_FALSE(queue.detached(b));
}

TEST(NotificationQueue, ReleasedSourceDoesNotBlockButItsHandlersStillRun) {
    NotificationQueue queue;
    const auto a = queue.open_source();
    int ran = 0;
    std::thread worker([&] {
        queue.post(
            a, NotificationKind::progress, [&] { ++ran; }, PostMode::wait_for_handler);
    });
    while (queue.pending() == 0) {
        std::this_thread::yield();
    }
    queue.set_released(a, true);
    worker.join();
    EXPECT_EQ(ran, 0);
    queue.pump();
    EXPECT_EQ(ran, 1);
}

TEST(NotificationQueue, PumpRunsWhatWasQueuedOnEntryAndLeavesTheRestSignalled) {
    NotificationQueue queue;
    const auto a = queue.open_source();
    int ran = 0;
    std::function<void()> again = [&] {
        ++ran;
        queue.post(a, NotificationKind::log_line, again);  // a handler that keeps posting
    };
    queue.post(a, NotificationKind::log_line, again);
    EXPECT_EQ(queue.pump(), 1);
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(readable(queue.wake_fd()));
    EXPECT_EQ(queue.pump(), 1);
    queue.detach(a);
}

}  // namespace
}  // namespace velmora::media
