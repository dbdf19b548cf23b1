#include "convert/job_from_file.h"

#include "convert/output_record.h"
#include "jobs/text_format.h"
#include "media/encoder.h"
#include "media/probe.h"
#include "presets/output_naming.h"

namespace velmora::convert {
namespace {

// A message line of the log with an empty line before and after it.
void log_framed(const JobFromFileSteps& steps, const std::string& line) {
    steps.log("");
    steps.log(line);
    steps.log("");
}

}  // namespace

AddedJob job_from_file(media::Encoder& encoder, const std::string& file,
                       const JobFromFileSteps& steps) {
    AddedJob job;
    const media::ProbeResult probe = media::probe_file(file);
    if (!probe.ok) {
        log_framed(steps, "***File load error: " + probe.error_text);
        job.outcome = AddOutcome::Skipped;
        return job;
    }

    std::string error;
    job.task_index = encoder.add_task(file, job.input, error);
    if (job.task_index < 0) {
        log_framed(steps, "***File open error: " + error);
        job.outcome = AddOutcome::Stopped;
        return job;
    }
    steps.log("");
    steps.log(encoder.task_info_text(job.task_index));

    const presets::PresetValues values = steps.apply_preset(file);
    job.output = output_record_from(values);
    job.duration_us = probe.duration_us;
    job.size_bytes = probe.size_bytes;

    if (!encoder.set_output_file(job.task_index, values.Video_OutPutFileName, job.output, error)) {
        encoder.remove_task(job.task_index);
        log_framed(steps, "***Cannot do convert, error: " + error);
        job.task_index = -1;
        job.outcome = AddOutcome::Stopped;
        return job;
    }
    job.outcome = AddOutcome::Added;
    log_framed(steps, "***Can do convert.");
    return job;
}

std::array<std::string, jobs::kSubColumnCount> job_row_columns(const AddedJob& job, int preset_code,
                                                               const std::string& option_indices) {
    using jobs::JobColumn;
    std::array<std::string, jobs::kSubColumnCount> columns;
    auto set = [&columns](JobColumn column, std::string text) {
        columns[static_cast<size_t>(column)] = std::move(text);
    };
    const media::TOutputOptions& out = job.output;
    set(JobColumn::Duration, jobs::duration_text(job.duration_us));
    set(JobColumn::FileSize, jobs::megabyte_text(job.size_bytes));
    set(JobColumn::OutputFile, std::string(presets::file_name_part(out.FileName)));
    set(JobColumn::TaskNumber, std::to_string(job.task_index + 1));
    set(JobColumn::PresetCode, std::to_string(preset_code));
    set(JobColumn::OptionIndices, option_indices);
    set(JobColumn::VideoCodec, out.VideoCodec);
    set(JobColumn::AudioCodec, out.AudioCodec);
    set(JobColumn::AudioChannels, std::to_string(out.AudioChannels));
    set(JobColumn::VideoTag, out.VideoTag);
    set(JobColumn::FileExt, out.FileExt);
    set(JobColumn::FrameSize, out.FrameSize);
    set(JobColumn::VideoBitrate, std::to_string(out.VideoBitrate));
    set(JobColumn::FrameRate, out.FrameRate);
    set(JobColumn::AudioBitrate, std::to_string(out.AudioBitrate));
    set(JobColumn::AudioSampleRate, std::to_string(out.AudioSampleRate));
    set(JobColumn::FrameAspectRatio, out.FrameAspectRatio);
    return columns;
}

}  // namespace velmora::convert
