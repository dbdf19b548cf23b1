// A queue between two player threads: a bounded hand-over that blocks the producer while full
// and the consumer while empty, and that a stop or a seek can empty at any moment.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

namespace velmora::media {

// Item must have `size_t weight() const` (bytes, or 1 per item) and `int serial`.
template <typename Item>
class PlayerQueue {
  public:
    // capacity: the total weight beyond which push waits; 0 for no bound.
    explicit PlayerQueue(size_t capacity = 0) : capacity_(capacity) {}
    PlayerQueue(const PlayerQueue&) = delete;
    PlayerQueue& operator=(const PlayerQueue&) = delete;

    // Adds an item, waiting while the queue is full; false (item dropped) once aborted or when
    // a clear() for a newer serial came meanwhile.
    bool push(Item item) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] {
            return aborted_ || item.serial < min_serial_ || capacity_ == 0 || weight_ == 0 ||
                   weight_ + item.weight() <= capacity_;
        });
        if (aborted_ || item.serial < min_serial_) {
            return false;
        }
        weight_ += item.weight();
        items_.push_back(std::move(item));
        changed_.notify_all();
        return true;
    }

    // Takes the oldest item, waiting up to timeout for one; nothing when aborted or timed out.
    std::optional<Item> pop(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, timeout, [&] { return aborted_ || !items_.empty(); }) ||
            aborted_) {
            return std::nullopt;
        }
        Item item = std::move(items_.front());
        items_.pop_front();
        weight_ -= item.weight();
        changed_.notify_all();
        return item;
    }

    // Runs fn on the oldest item under the lock (nullptr when empty); fn may not block.
    template <typename Fn>
    auto with_front(Fn&& fn) {
        std::lock_guard lock(mutex_);
        return fn(items_.empty() ? static_cast<Item*>(nullptr) : &items_.front());
    }

    // Takes the oldest item without waiting.
    std::optional<Item> try_pop() { return pop(std::chrono::milliseconds(0)); }

    // Drops every item and refuses items of serials older than min_serial from now on.
    void clear(int min_serial) {
        std::lock_guard lock(mutex_);
        items_.clear();
        weight_ = 0;
        if (min_serial > min_serial_) {
            min_serial_ = min_serial;
        }
        changed_.notify_all();
    }

    // Wakes every waiter for good.
    void abort() {
        std::lock_guard lock(mutex_);
        aborted_ = true;
        changed_.notify_all();
    }

    size_t count() const {
        std::lock_guard lock(mutex_);
        return items_.size();
    }
    size_t weight() const {
        std::lock_guard lock(mutex_);
        return weight_;
    }

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item> items_;
    size_t capacity_;
    size_t weight_ = 0;
    int min_serial_ = 0;
    bool aborted_ = false;
};

}  // namespace velmora::media
