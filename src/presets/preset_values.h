// The current preset values: the settings the next added job, or the selected job, receives.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "jobs/job_columns.h"

namespace velmora::presets {

class SelectedRow;

// The main window's current preset values. At start-up texts are empty and integers 0; every
// load resets them first.
struct PresetValues {
    std::string Video_AddFileName;     // input being added; kept by the reset
    std::string Video_OutPutFileName;  // full output path derived for Video_AddFileName
    std::string Video_FileExt;         // output extension with its dot, or empty
    std::string Video_VideoCodec;
    std::string Video_VideoTag;
    std::string Video_FrameSize;         // "W*H", or empty for the source size
    int32_t Video_VideoBitrate = 0;      // bit/s; -1000 not set, -1 after a reset
    std::string Video_FrameRate;         // e.g. "25", "29.97", or empty for the source rate
    std::string Video_FrameAspectRatio;  // "4:3", "16:9", "37:20", "47:20", or empty
    std::string Video_AudioCodec;
    std::string Video_AudioChannels;    // "1", "2" or empty
    std::string Video_AudioSampleRate;  // Hz as text, or empty
    int32_t Video_AudioBitrate = 0;     // bit/s; -1000 not set, -1 after a reset
    std::string Video_AudioVolume;      // "256" is the unchanged volume
    std::string Video_TargetType;       // "vcd", "svcd", "dvd" or empty
    std::string Video_NormType;         // "PAL" or empty
    std::string Video_FileFormat;       // forced container name, or empty
    std::string Video_VideoFilters;
    std::string Video_CopyTimestamp;  // always empty
    int32_t Video_TimeStart = 0;
    int32_t Video_TimeLength = 0;
    bool Video_DisableVideo = false;  // the output carries no video
};

// `Button6Click`: resets every value except Video_AddFileName: texts empty, the volume "256",
// bitrates and times -1, video kept.
void Button6Click(PresetValues& values);

// One setting column of a job row and the text a preset writes into it.
struct ColumnText {
    jobs::JobColumn column;
    std::string text;
};

// The texts of columns 10 to 23 (VideoCodec ... NormType) that the defaults routine writes into
// the selected row, in column order.
std::array<ColumnText, 14> row_setting_texts(const PresetValues& values);

// Writes columns 10 to 23 of a row from the values.
void write_row_settings(const PresetValues& values, SelectedRow& row);

}  // namespace velmora::presets
