// The columns of the job list: their numbers, captions and widths.
#pragma once

#include <array>
#include <string_view>

namespace velmora::jobs {

// Sub-column numbers of a job row; the row caption (InputFile) is not counted.
enum JobColumn : int {
    Duration = 0,
    FileSize = 1,
    OutputFile = 2,
    Progress = 3,
    EncodeFps = 4,
    CurrentTime = 5,
    ConvertedSize = 6,
    TaskNumber = 7,
    PresetCode = 8,
    OptionIndices = 9,
    VideoCodec = 10,
    AudioCodec = 11,
    AudioChannels = 12,
    VideoTag = 13,
    FileExt = 14,
    FrameSize = 15,
    VideoBitrate = 16,
    FrameRate = 17,
    AudioBitrate = 18,
    AudioSampleRate = 19,
    FrameAspectRatio = 20,
    VideoDisabled = 21,
    TargetType = 22,
    NormType = 23,
};

inline constexpr int kSubColumnCount = 24;

// One visible or hidden column of the list view; width 0 columns are hidden and cannot widen.
struct ColumnSpec {
    std::string_view caption;
    int width_px;
};

// The caption column first, then the 24 sub-columns in order.
inline constexpr std::array<ColumnSpec, kSubColumnCount + 1> kColumnSpecs = {{
    {"输入文件", 80},  {"视频时间", 70},  {"文件大小", 70},  {"输出文件", 80},  {"转换进度", 70},
    {"", 0},           {"当前时间", 80},  {"转换大小", 80},  {"视频序号", 0},   {"视频类别", 0},
    {"视频选项", 0},   {"视频编码", 0},   {"音频编码", 0},   {"声音频道", 0},   {"VideoTag", 0},
    {"FileExt", 0},    {"视频分辨率", 0}, {"视频比特率", 0}, {"视频帧率", 0},   {"音频比特率", 0},
    {"音频采样率", 0}, {"视频缩放", 0},   {"视频能否", 0},   {"TargetType", 0}, {"NormType", 0},
}};

}  // namespace velmora::jobs
