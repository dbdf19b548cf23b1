#include "convert/task_building.h"

#include <charconv>
#include <filesystem>
#include <map>

namespace velmora::convert {
namespace {

using jobs::JobColumn;
using media::TOptionNormType;
using media::TOptionTargetType;

// Compares paths as the file system would resolve them (symbolic links, "..", doubled separators).
std::string comparable_path(const std::string& path) {
    std::error_code ignored;
    const auto resolved = std::filesystem::weakly_canonical(std::filesystem::path(path), ignored);
    return (resolved.empty() ? std::filesystem::path(path).lexically_normal() : resolved).string();
}

std::string row_label(int row) {
    return "第" + std::to_string(row + 1) + "行";
}

}  // namespace

std::optional<int> parse_decimal_integer(std::string_view text) {
    if (text.empty() || text == "-") {
        return std::nullopt;
    }
    int value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> overlay_row_on_output(const jobs::JobRowTexts& row,
                                                 media::TOutputOptions& output) {
    const std::string& video_codec = row[JobColumn::VideoCodec];
    if (video_codec == "libx264") {
        output.VideoCodec = "libx264";
        output.VideoPreset = "libx264-default";
    } else if (!video_codec.empty()) {
        output.VideoCodec = video_codec;
        output.VideoPreset.clear();
    }

    const std::string& audio_codec = row[JobColumn::AudioCodec];
    if (audio_codec != "AUTO" && !audio_codec.empty()) {
        output.AudioCodec = audio_codec;
    }

    const std::string& channels = row[JobColumn::AudioChannels];
    if (!channels.empty()) {
        const auto value = parse_decimal_integer(channels);
        if (!value) {
            return "声音频道";
        }
        output.AudioChannels = *value;
    }

    const std::string& tag = row[JobColumn::VideoTag];
    output.VideoTag = (tag.empty() || video_codec == "libx264") ? std::string() : tag;

    if (!row[JobColumn::FileExt].empty()) {
        output.FileExt = row[JobColumn::FileExt];
    }
    if (!row[JobColumn::FrameSize].empty()) {
        output.FrameSize = row[JobColumn::FrameSize];
    }

    const std::string& video_bitrate = row[JobColumn::VideoBitrate];
    if (!video_bitrate.empty()) {
        const auto value = parse_decimal_integer(video_bitrate);
        if (!value) {
            return "视频比特率";
        }
        output.VideoBitrate = *value;
    }

    if (!row[JobColumn::FrameRate].empty()) {
        output.FrameRate = row[JobColumn::FrameRate];
    }

    const std::string& audio_bitrate = row[JobColumn::AudioBitrate];
    if (audio_bitrate != "-1000" && audio_bitrate != "-2000" && !audio_bitrate.empty()) {
        const auto value = parse_decimal_integer(audio_bitrate);
        if (!value) {
            return "音频比特率";
        }
        output.AudioBitrate = *value;
    }

    const std::string& sample_rate = row[JobColumn::AudioSampleRate];
    if (sample_rate != "AUTO" && !sample_rate.empty()) {
        const auto value = parse_decimal_integer(sample_rate);
        if (!value) {
            return "音频采样率";
        }
        output.AudioSampleRate = *value;
    }

    if (!row[JobColumn::FrameAspectRatio].empty()) {
        output.FrameAspectRatio = row[JobColumn::FrameAspectRatio];
    }

    output.DisableVideo = row[JobColumn::VideoDisabled] == "True";

    const std::string& target = row[JobColumn::TargetType];
    if (target == "vcd") {
        output.TargetType = TOptionTargetType::ttVCD;
    } else if (target == "svcd") {
        output.TargetType = TOptionTargetType::ttSVCD;
    } else if (target == "dvd") {
        output.TargetType = TOptionTargetType::ttDVD;
    } else if (!target.empty()) {
        output.TargetType = TOptionTargetType::ttIgnore;
    }

    const std::string& norm = row[JobColumn::NormType];
    output.NormType = norm == "PAL"    ? TOptionNormType::ntPAL
                      : norm == "NTSC" ? TOptionNormType::ntNTSC
                                       : TOptionNormType::ntAuto;
    return std::nullopt;
}

std::variant<std::vector<PlannedTask>, BuildProblem> plan_tasks(
    const std::vector<jobs::JobRowTexts>& rows, jobs::CompanionTable& companions,
    const std::string& output_folder) {
    std::vector<PlannedTask> tasks;
    tasks.reserve(rows.size());
    std::map<std::string, int> inputs;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        inputs.emplace(comparable_path(rows[static_cast<size_t>(r)].caption), r);
    }
    std::map<std::string, int> outputs;
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);

    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const jobs::JobRowTexts& row = rows[static_cast<size_t>(r)];
        jobs::CompanionEntry& entry = companions.at(static_cast<size_t>(r));
        entry.IO1.FileName = row.caption;
        if (const auto bad_column = overlay_row_on_output(row, entry.OO1)) {
            return BuildProblem{r,
                                row_label(r) + "的“" + *bad_column + "”不是整数：" + row.caption};
        }
        const std::string output_path = output_folder + separator + row[JobColumn::OutputFile];
        const std::string key = comparable_path(output_path);
        if (const auto input = inputs.find(key); input != inputs.end()) {
            return BuildProblem{r, row_label(r) + "的输出文件会覆盖" + row_label(input->second) +
                                       "的输入文件，请重新命名：" + output_path};
        }
        if (const auto other = outputs.find(key); other != outputs.end()) {
            return BuildProblem{r, row_label(r) + "与" + row_label(other->second) +
                                       "的输出文件相同，请重新命名：" + output_path};
        }
        outputs.emplace(key, r);
        tasks.push_back(PlannedTask{entry.IO1, output_path, entry.OO1});
    }
    return tasks;
}

}  // namespace velmora::convert
