#include "media/logger.h"

#include <unistd.h>

#include <cstdarg>
#include <mutex>

#include "media/log_format.h"

extern "C" {
#include <libavutil/log.h>
}

namespace velmora::media {
namespace {

// FFmpeg has one log callback per process; the capture that owns it keeps its sink here.
std::mutex sink_mutex;
std::function<void(const LogLine&)>* current_sink = nullptr;
const LogCapture* current_owner = nullptr;

void capture_callback(void* avcl, int level, const char* fmt, va_list args) {
    if (level > av_log_get_level()) {
        return;
    }
    thread_local int print_prefix = 1;
    thread_local std::string pending;
    char piece[1024];
    av_log_format_line2(avcl, level, fmt, args, piece, sizeof piece, &print_prefix);
    pending += piece;
    if (pending.empty() || pending.back() != '\n') {
        return;
    }
    while (!pending.empty() && (pending.back() == '\n' || pending.back() == '\r')) {
        pending.pop_back();
    }
    LogLine line{static_cast<int64_t>(gettid()), log_level_number(level), std::move(pending)};
    pending.clear();
    std::lock_guard lock(sink_mutex);
    if (current_sink) {
        (*current_sink)(line);
    }
}

}  // namespace

LogCapture::LogCapture(std::function<void(const LogLine&)> sink) {
    std::lock_guard lock(sink_mutex);
    delete current_sink;  // a newer capture takes over from an older one
    current_sink = new std::function<void(const LogLine&)>(std::move(sink));
    current_owner = this;
    av_log_set_callback(capture_callback);
}

LogCapture::~LogCapture() {
    std::lock_guard lock(sink_mutex);
    if (current_owner != this) {
        return;  // taken over by a newer capture
    }
    av_log_set_callback(av_log_default_callback);
    delete current_sink;
    current_sink = nullptr;
    current_owner = nullptr;
}

Logger::Logger(NotificationQueue& queue) : queue_(queue), source_(queue.open_source()) {}

Logger::~Logger() {
    capture_.reset();
    queue_.detach(source_);
}

void Logger::capture_this_process(bool on) {
    if (!on) {
        capture_.reset();
        return;
    }
    if (!capture_) {
        capture_ = std::make_unique<LogCapture>([this](const LogLine& line) { deliver(line); });
    }
}

void Logger::deliver(const LogLine& line) {
    if (line.level > max_level_.load()) {
        return;
    }
    if (pending_.fetch_add(1) >= kMaxPendingLines) {
        pending_.fetch_sub(1);
        dropped_.fetch_add(1);
        return;
    }
    if (const int dropped = dropped_.exchange(0); dropped > 0) {
        // Said once the handler caught up, so the log shows where lines are missing.
        pending_.fetch_add(1);
        std::string notice = format_log_line(static_cast<uint64_t>(line.thread_id), 4,
                                             std::to_string(dropped) + " log lines were dropped");
        queue_.post(source_, NotificationKind::log_line, [this, notice = std::move(notice)] {
            pending_.fetch_sub(1);
            if (handler_) {
                handler_(notice);
            }
        });
    }
    std::string text =
        format_log_line(static_cast<uint64_t>(line.thread_id), line.level, line.text);
    queue_.post(source_, NotificationKind::log_line, [this, text = std::move(text)] {
        pending_.fetch_sub(1);
        if (handler_) {
            handler_(text);
        }
    });
}

void Logger::detach() {
    capture_.reset();
    queue_.detach(source_);
}

}  // namespace velmora::media
