#include "jobs/companion_table.h"

#include <algorithm>
#include <utility>

namespace velmora::jobs {

CompanionTable::CompanionTable() : entries_(kInitialEntries) {}

void CompanionTable::mark_all_free() {
    for (auto& entry : entries_) {
        entry.SlotState = kSlotFree;
    }
}

std::size_t CompanionTable::take_first_free(const media::TInputOptions& input,
                                            const media::TOutputOptions& output) {
    auto free_entry = std::find_if(entries_.begin(), entries_.end(), [](const CompanionEntry& e) {
        return e.SlotState == kSlotFree;
    });
    if (free_entry == entries_.end()) {
        entries_.emplace_back();
        free_entry = std::prev(entries_.end());
    }
    free_entry->IO1 = input;
    free_entry->OO1 = output;
    free_entry->SlotState = kSlotFull;
    return static_cast<std::size_t>(free_entry - entries_.begin());
}

void CompanionTable::remove(std::size_t k) {
    if (k >= entries_.size()) {
        return;
    }
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(k));
    // A table that grew shrinks back towards 501 entries, never below.
    if (entries_.size() < kInitialEntries) {
        entries_.emplace_back();
    }
}

void CompanionTable::exchange(std::size_t a, std::size_t b) {
    std::swap(entries_.at(a), entries_.at(b));
}

std::size_t CompanionTable::used() const {
    return static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(),
                      [](const CompanionEntry& e) { return e.SlotState == kSlotFull; }));
}

}  // namespace velmora::jobs
