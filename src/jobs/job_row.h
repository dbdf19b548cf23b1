// One job row as plain texts, for the logic that reads rows without the list widget.
#pragma once

#include <array>
#include <string>

#include "jobs/job_columns.h"

namespace velmora::jobs {

struct JobRowTexts {
    std::string caption;  // InputFile: the input path
    std::array<std::string, kSubColumnCount> columns;

    const std::string& operator[](JobColumn column) const {
        return columns[static_cast<size_t>(column)];
    }
    std::string& operator[](JobColumn column) { return columns[static_cast<size_t>(column)]; }
};

}  // namespace velmora::jobs
