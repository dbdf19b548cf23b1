// Turning job rows into engine tasks: the row texts laid over the row's companion records.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "jobs/companion_table.h"
#include "jobs/job_row.h"
#include "media/options.h"

namespace velmora::convert {

// A decimal integer with an optional leading "-", nothing else; fits in 32 bits.
std::optional<int> parse_decimal_integer(std::string_view text);

// Lays columns 10-23 of a row over an output record, exactly by the overlay rules. Returns the
// name of the first integer column holding other text (and leaves the rest unchanged), or
// nothing when the whole row was laid over.
std::optional<std::string> overlay_row_on_output(const jobs::JobRowTexts& row,
                                                 media::TOutputOptions& output);

// What one row becomes: the task's input record, output path and output record.
struct PlannedTask {
    media::TInputOptions input;
    std::string output_path;
    media::TOutputOptions output;
};

// Why the tasks could not be built: the row (0-based) and a text for the user.
struct BuildProblem {
    int row = 0;
    std::string message;
};

// Plans one task per row, in row order, with output folder + separator + OutputFile. The
// overlay changes the companion records in place, so a run's values stay for the next run.
// Refuses a row whose integer column holds other text, whose output would overwrite an input
// of the list, or whose output another row of the run already writes.
std::variant<std::vector<PlannedTask>, BuildProblem> plan_tasks(
    const std::vector<jobs::JobRowTexts>& rows, jobs::CompanionTable& companions,
    const std::string& output_folder);

}  // namespace velmora::convert
