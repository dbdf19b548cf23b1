// The encoder option records kept beside the job rows, one entry per row.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "media/options.h"

namespace velmora::jobs {

inline constexpr std::string_view kSlotFree = "kong";
inline constexpr std::string_view kSlotFull = "Full";

// One entry: the row's input and output records and whether the entry is in use.
struct CompanionEntry {
    media::TInputOptions IO1;
    media::TOutputOptions OO1;
    std::string SlotState{kSlotFree};
};

// Entry i belongs to row i; entries 0 .. rows-1 are "Full", the rest "kong". The table starts
// with 501 entries and grows by one whenever a row is added while every entry is in use.
class CompanionTable {
  public:
    static constexpr std::size_t kInitialEntries = 501;

    CompanionTable();

    // Marks every entry free (start-up and clearing the list).
    void mark_all_free();
    // Stores the records in the first free entry, growing the table if none is free.
    std::size_t take_first_free(const media::TInputOptions& input,
                                const media::TOutputOptions& output);
    // Removes entry k; later entries move up and the last one becomes free.
    void remove(std::size_t k);
    // Exchanges two entries (moving a row up or down).
    void exchange(std::size_t a, std::size_t b);

    CompanionEntry& at(std::size_t i) { return entries_.at(i); }
    const CompanionEntry& at(std::size_t i) const { return entries_.at(i); }
    std::size_t size() const { return entries_.size(); }
    // Number of entries marked "Full".
    std::size_t used() const;

  private:
    std::vector<CompanionEntry> entries_;
};

}  // namespace velmora::jobs
