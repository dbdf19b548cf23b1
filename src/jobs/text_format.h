// Text encodings of the job list's display columns.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::jobs {

// Whole seconds as "hh:mm:ss", hours wrapping at 24.
std::string SecToDate(int64_t Sec);

// Bytes as megabytes rounded to two decimals in shortest form, followed by "MB".
std::string megabyte_text(int64_t bytes);

// Duration column text for a probed duration in microseconds ("N/A" when not positive).
std::string duration_text(int64_t duration_us);

// Progress column text: whole percent of current over total, or "N/A" without a total.
std::string progress_text(int64_t current_us, int64_t total_us);

}  // namespace velmora::jobs
