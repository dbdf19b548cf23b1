#include "convert/run_progress.h"

#include <algorithm>

#include "convert/task_building.h"
#include "jobs/text_format.h"

namespace velmora::convert {

ProgressCells progress_cells(const media::TProgressInfo& info) {
    ProgressCells cells;
    cells.progress = jobs::progress_text(info.CurrentDuration, info.TotalDuration);
    if (info.FPS > 0) {
        cells.encode_fps = std::to_string(info.FPS);
    }
    cells.current_time = jobs::SecToDate(info.CurrentDuration / 1000000);
    cells.converted_size = jobs::megabyte_text(info.CurrentSize);
    return cells;
}

int simultaneous_tasks(const std::string& thread_count_text) {
    return std::clamp(parse_decimal_integer(thread_count_text).value_or(1), 1, 19);
}

}  // namespace velmora::convert
