// The texts a job row shows while its task converts.
#pragma once

#include <optional>
#include <string>

#include "media/options.h"

namespace velmora::convert {

// The four progress cells of a row for one progress notification; EncodeFps only when the
// engine reports a positive speed (otherwise the row keeps its previous text).
struct ProgressCells {
    std::string progress;  // whole percent + "%", or "N/A" without a total
    std::optional<std::string> encode_fps;
    std::string current_time;    // hh:mm:ss of the converted media time
    std::string converted_size;  // megabytes + "MB"
};

ProgressCells progress_cells(const media::TProgressInfo& info);

// The number of simultaneous tasks of the options dialog's thread-count text: its integer
// value, 1 when it is not an integer, never below 1 or above 19.
int simultaneous_tasks(const std::string& thread_count_text);

}  // namespace velmora::convert
