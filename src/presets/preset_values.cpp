// Resetting the current preset values and the row texts they give.
#include "presets/preset_values.h"

#include <utility>

#include "presets/selected_row.h"

namespace velmora::presets {

void Button6Click(PresetValues& values) {
    std::string add_file_name = std::move(values.Video_AddFileName);
    values = PresetValues{};
    values.Video_AddFileName = std::move(add_file_name);
    values.Video_AudioVolume = "256";
    values.Video_VideoBitrate = -1;
    values.Video_AudioBitrate = -1;
    values.Video_TimeStart = -1;
    values.Video_TimeLength = -1;
    values.Video_DisableVideo = false;
}

std::array<ColumnText, 14> row_setting_texts(const PresetValues& values) {
    using namespace jobs;
    return {{
        {VideoCodec, values.Video_VideoCodec},
        {AudioCodec, values.Video_AudioCodec},
        {AudioChannels, values.Video_AudioChannels},
        {VideoTag, values.Video_VideoTag},
        {FileExt, values.Video_FileExt},
        {FrameSize, values.Video_FrameSize},
        {VideoBitrate, std::to_string(values.Video_VideoBitrate)},
        {FrameRate, values.Video_FrameRate},
        {AudioBitrate, std::to_string(values.Video_AudioBitrate)},
        {AudioSampleRate, values.Video_AudioSampleRate},
        {FrameAspectRatio, values.Video_FrameAspectRatio},
        {VideoDisabled, values.Video_DisableVideo ? "True" : "False"},
        {TargetType, values.Video_TargetType},
        {NormType, values.Video_NormType},
    }};
}

void write_row_settings(const PresetValues& values, SelectedRow& row) {
    for (const ColumnText& cell : row_setting_texts(values)) {
        row.set_text(cell.column, cell.text);
    }
}

}  // namespace velmora::presets
