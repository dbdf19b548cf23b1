#include "jobs/text_format.h"

#include <cfenv>
#include <cmath>
#include <cstdio>

namespace velmora::jobs {

std::string SecToDate(int64_t Sec) {
    const int64_t seconds = Sec % 60;
    const int64_t minutes = ((Sec - seconds) / 60) % 60;
    const int64_t hours = ((Sec - seconds - minutes * 60) / 3600) % 24;
    char text[64];
    std::snprintf(text, sizeof text, "%.2lld:%.2lld:%.2lld", static_cast<long long>(hours),
                  static_cast<long long>(minutes), static_cast<long long>(seconds));
    return text;
}

std::string megabyte_text(int64_t bytes) {
    const double megabytes = static_cast<double>(bytes) / 1024.0 / 1024.0;
    // nearbyint rounds halves to even in the default rounding mode.
    const double rounded = std::nearbyint(megabytes * 100.0) / 100.0;
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", rounded);
    return std::string(text) + "MB";
}

std::string duration_text(int64_t duration_us) {
    if (duration_us <= 0) {
        return "N/A";
    }
    return SecToDate(duration_us / 1000000);
}

std::string progress_text(int64_t current_us, int64_t total_us) {
    if (total_us <= 0) {
        return "N/A";
    }
    return std::to_string(current_us * 100 / total_us) + "%";
}

}  // namespace velmora::jobs
