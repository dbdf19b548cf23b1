// Turning one input file into a job: probe it, add its engine task, give it the current preset's
// output and produce the texts of its row. The window's add commands and the command line
// share these steps.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "jobs/job_columns.h"
#include "media/options.h"
#include "presets/preset_values.h"

namespace velmora::media {
class Encoder;
}

namespace velmora::convert {

// What adding a file asks of its caller.
struct JobFromFileSteps {
    // Appends one line to the diagnostic log.
    std::function<void(const std::string& line)> log;
    // The file passed the probe and has its task: applies the current preset for it (the
    // defaults, then the option lists' choices) and returns the current preset values, with
    // Video_OutPutFileName, afterwards.
    std::function<presets::PresetValues(const std::string& file)> apply_preset;
};

// How adding one file ended.
enum class AddOutcome {
    Added,    // the task exists with its output; the job's records are in AddedJob
    Skipped,  // the probe could not read the file; the command goes on with the next file
    Stopped,  // the engine refused the task or its output; the command ends
};

// A job that was added: its task and records, and what the probe found.
struct AddedJob {
    AddOutcome outcome = AddOutcome::Skipped;
    int task_index = -1;
    media::TInputOptions input;
    media::TOutputOptions output;
    int64_t duration_us = 0;
    int64_t size_bytes = 0;
};

// The per-file steps of adding: probe (log "***File load error: " on failure), add the task
// ("***File open error: "), log the task's information text, apply the preset, fill the output
// record, attach the output (on failure remove the task again, "***Cannot do convert, error: ")
// and log "***Can do convert.". Each message line has an empty line before and after it.
AddedJob job_from_file(media::Encoder& encoder, const std::string& file,
                       const JobFromFileSteps& steps);

// The 24 sub-column texts of the new job's row: duration, size, output file name, empty progress
// texts, task number, preset code, option indices and the output record's settings.
std::array<std::string, jobs::kSubColumnCount> job_row_columns(const AddedJob& job, int preset_code,
                                                               const std::string& option_indices);

}  // namespace velmora::convert
