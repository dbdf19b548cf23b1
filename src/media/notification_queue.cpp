#include "media/notification_queue.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace velmora::media {

NotificationQueue::NotificationQueue() {
    wake_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_fd_ < 0) {
        throw std::runtime_error("cannot create the notification event descriptor");
    }
}

NotificationQueue::~NotificationQueue() {
    {
        std::lock_guard lock(mutex_);
        for (Item& item : items_) {
            if (item.done) {
                *item.done = true;
            }
        }
        items_.clear();
    }
    changed_.notify_all();
    close(wake_fd_);
}

NotificationQueue::SourceId NotificationQueue::open_source() {
    std::lock_guard lock(mutex_);
    return next_source_++;
}

void NotificationQueue::signal_wake_fd() {
    const uint64_t one = 1;
    // A full counter only means the descriptor is already readable.
    [[maybe_unused]] const ssize_t written = write(wake_fd_, &one, sizeof one);
}

void NotificationQueue::drain_wake_fd() {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(wake_fd_, &count, sizeof count);
}

bool NotificationQueue::post(SourceId source, NotificationKind kind, std::function<void()> handler,
                             PostMode mode) {
    std::unique_lock lock(mutex_);
    if (detached_.count(source) != 0) {
        return false;
    }
    auto done = mode == PostMode::wait_for_handler ? std::make_shared<bool>(false) : nullptr;
    items_.push_back(Item{source, kind, std::move(handler), done});
    signal_wake_fd();
    changed_.notify_all();
    if (!done) {
        return true;
    }
    changed_.wait(lock, [&] {
        return *done || detached_.count(source) != 0 || released_.count(source) != 0;
    });
    return true;
}

bool NotificationQueue::take_next(Item& item, const SourceId* source,
                                  const NotificationKind* kind) {
    std::lock_guard lock(mutex_);
    for (auto it = items_.begin(); it != items_.end(); ++it) {
        if ((source && it->source != *source) || (kind && it->kind != *kind)) {
            continue;
        }
        item = std::move(*it);
        items_.erase(it);
        return true;
    }
    return false;
}

void NotificationQueue::run_item(Item& item) {
    if (item.handler) {
        item.handler();
    }
    if (item.done) {
        {
            std::lock_guard lock(mutex_);
            *item.done = true;
        }
        changed_.notify_all();
    }
}

int NotificationQueue::pump() {
    drain_wake_fd();
    const int queued = pending();
    int ran = 0;
    Item item;
    // Only what was queued on entry, so a flood of lines cannot starve the event loop.
    while (ran < queued && take_next(item, nullptr, nullptr)) {
        run_item(item);
        ++ran;
    }
    if (pending() > 0) {
        signal_wake_fd();
    }
    return ran;
}

int NotificationQueue::pump_only(SourceId source, NotificationKind kind) {
    int ran = 0;
    Item item;
    while (take_next(item, &source, &kind)) {
        run_item(item);
        ++ran;
    }
    return ran;
}

bool NotificationQueue::wait_for_notifications(int timeout_ms) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                             [&] { return !items_.empty(); });
}

void NotificationQueue::detach(SourceId source) {
    {
        std::lock_guard lock(mutex_);
        detached_.insert(source);
        for (auto it = items_.begin(); it != items_.end();) {
            if (it->source != source) {
                ++it;
                continue;
            }
            if (it->done) {
                *it->done = true;
            }
            it = items_.erase(it);
        }
    }
    changed_.notify_all();
}

bool NotificationQueue::detached(SourceId source) const {
    std::lock_guard lock(mutex_);
    return detached_.count(source) != 0;
}

void NotificationQueue::set_released(SourceId source, bool released) {
    {
        std::lock_guard lock(mutex_);
        if (released) {
            released_.insert(source);
        } else {
            released_.erase(source);
        }
    }
    changed_.notify_all();
}

int NotificationQueue::pending() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(items_.size());
}

}  // namespace velmora::media
