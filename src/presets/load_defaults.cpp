// The defaults routine: a preset's row into the current preset values and the selected row.
#include "presets/load_defaults.h"

#include "presets/defaults_table.h"
#include "presets/selected_row.h"

namespace velmora::presets {

void load_preset_defaults(int preset_code, PresetValues& values) {
    Button6Click(values);
    values.Video_DisableVideo = false;
    const PresetDefaults* row = find_defaults(preset_code);
    if (row == nullptr) {
        return;
    }
    values.Video_FileExt = row->file_ext;
    values.Video_VideoCodec = row->video_codec;
    values.Video_VideoTag = row->video_tag;
    values.Video_FrameSize = row->frame_size;
    values.Video_VideoBitrate = row->video_bitrate;
    values.Video_FrameRate = row->frame_rate;
    values.Video_FrameAspectRatio = row->aspect_ratio;
    values.Video_AudioCodec = row->audio_codec;
    values.Video_AudioChannels = row->audio_channels;
    values.Video_AudioSampleRate = row->sample_rate;
    values.Video_AudioBitrate = row->audio_bitrate;
    values.Video_AudioVolume = "256";
    values.Video_TargetType = row->target_type;
    values.Video_NormType = row->norm_type;
    values.Video_DisableVideo = row->disable_video;
}

void Button5Click(const DefaultsRequest& request, PresetValues& values, SelectedRow* selected) {
    values.Video_AddFileName = request.add_file_name;
    load_preset_defaults(request.preset_code, values);
    if (const PresetDefaults* row = find_defaults(request.preset_code)) {
        values.Video_OutPutFileName =
            derive_output_path(values.Video_AddFileName, row->ext, request.naming);
    }
    if (selected != nullptr) {
        write_row_settings(values, *selected);
    }
}

}  // namespace velmora::presets
