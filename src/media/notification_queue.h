// The one queue that carries every notification of the engine (progress, task end, run end,
// logger lines, preview frames, player events) from worker threads to the user-interface
// thread. The window watches wake_fd() (a QSocketNotifier on an eventfd) and calls pump(); the
// command line calls pump() in its own loop.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>

namespace velmora::media {

// What a notification is about; stop-with-waiting runs only the progress ones.
enum class NotificationKind { progress, task_end, run_end, log_line, preview_frame, player };

// Whether a posting thread waits for the handler.
enum class PostMode { async, wait_for_handler };

class NotificationQueue {
  public:
    using SourceId = int;

    NotificationQueue();
    ~NotificationQueue();
    NotificationQueue(const NotificationQueue&) = delete;
    NotificationQueue& operator=(const NotificationQueue&) = delete;

    // Readable while notifications are queued; pump() drains it.
    int wake_fd() const { return wake_fd_; }

    // A new sender (the encoder, the logger, the player); each can be detached on its own.
    SourceId open_source();

    // Queues handler from any thread. With wait_for_handler the call returns once the
    // handler has run on the user-interface thread, or at once when the source is detached or
    // released. Returns false when the notification was dropped (detached source).
    bool post(SourceId source, NotificationKind kind, std::function<void()> handler,
              PostMode mode = PostMode::async);

    // Runs the handlers queued on entry on the calling (user-interface) thread, oldest first;
    // what is posted meanwhile leaves the descriptor readable for the next call. Returns how
    // many ran.
    int pump();
    // Runs only the queued handlers of one source and kind, leaving the others in order.
    int pump_only(SourceId source, NotificationKind kind);

    // Blocks until something is queued or timeout_ms passed; true when something is queued.
    bool wait_for_notifications(int timeout_ms);

    // From now on no handler of the source runs and no sender of it blocks.
    void detach(SourceId source);
    bool detached(SourceId source) const;
    // While released, senders of the source that wait for their handler return at once
    // (their handlers still run later); used while a stop waits for its workers.
    void set_released(SourceId source, bool released);

    // How many notifications are queued.
    int pending() const;

  private:
    struct Item {
        SourceId source;
        NotificationKind kind;
        std::function<void()> handler;
        std::shared_ptr<bool> done;  // set once the handler ran or was dropped; for waiters
    };

    bool take_next(Item& item, const SourceId* source, const NotificationKind* kind);
    void run_item(Item& item);
    void drain_wake_fd();
    void signal_wake_fd();

    int wake_fd_ = -1;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item> items_;
    std::set<SourceId> detached_;
    std::set<SourceId> released_;
    SourceId next_source_ = 1;
};

}  // namespace velmora::media
