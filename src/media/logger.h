// The engine's logger: FFmpeg's log lines, of this process and of the conversion workers,
// delivered to the user-interface thread as "#" + thread id + "." + level + ": " + message.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "media/notification_queue.h"
#include "media/worker_protocol.h"

namespace velmora::media {

// Routes FFmpeg's log (one callback per process) to a sink for its lifetime; lines above
// FFmpeg's current log level are dropped, pieces of a line are joined first.
class LogCapture {
  public:
    explicit LogCapture(std::function<void(const LogLine&)> sink);
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;
};

class Logger {
  public:
    explicit Logger(NotificationQueue& queue);
    ~Logger();
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    // The handler of log lines, run on the user-interface thread.
    void on_line(std::function<void(const std::string&)> handler) { handler_ = std::move(handler); }
    // Also captures FFmpeg's log of this process (probes, the player).
    void capture_this_process(bool on);
    // Queues a line from any thread (the encoder forwards its workers' lines here).
    void deliver(const LogLine& line);
    // Lines of at most this level number (0..7) are delivered; 5 (info) unless changed.
    void set_max_level(int level) { max_level_ = level; }
    // How many lines were dropped since the last notice of dropped lines.
    int dropped_count() const { return dropped_.load(); }
    // From now on no line reaches the handler.
    void detach();

  private:
    NotificationQueue& queue_;
    NotificationQueue::SourceId source_;
    std::function<void(const std::string&)> handler_;
    std::unique_ptr<LogCapture> capture_;
    std::atomic<int> max_level_{5};
    // A damaged input can make the decoders complain thousands of times a second; beyond this
    // many undelivered lines further ones are counted instead of queued.
    static constexpr int kMaxPendingLines = 2000;
    std::atomic<int> pending_{0};
    std::atomic<int> dropped_{0};
};

}  // namespace velmora::media
