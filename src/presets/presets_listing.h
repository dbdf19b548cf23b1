// A text listing of every preset: its catalogue entry, its defaults and its option lists.
#pragma once

#include <ostream>

namespace velmora::presets {

// Writes one tab-separated line per preset in code order: code, category caption, format
// caption, Ext, then Video_FileExt, Video_VideoCodec, Video_VideoTag, Video_FrameSize,
// Video_VideoBitrate, Video_FrameRate, Video_FrameAspectRatio, Video_AudioCodec,
// Video_AudioChannels, Video_AudioSampleRate, Video_AudioBitrate, Video_DisableVideo
// ("True"/"False"), Video_TargetType and Video_NormType as the defaults routine loads them, then
// the resolution, video bitrate, frame rate, audio bitrate, sample rate and aspect lists, each
// as preselected position, ":" and the entries joined by "|".
void write_presets_listing(std::ostream& out);

}  // namespace velmora::presets
