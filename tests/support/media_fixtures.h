// Short media files generated at test time with the ffmpeg command.
#pragma once

#include <filesystem>
#include <string>

namespace velmora::testing {

// Runs `ffmpeg -y -hide_banner -loglevel error <args> <output>`; true when it succeeded.
bool run_ffmpeg(const std::string& args, const std::filesystem::path& output);

// A clip of test pattern video with a sine tone: seconds long, width x height at fps.
bool make_av_clip(const std::filesystem::path& output, double seconds = 1.0, int width = 320,
                  int height = 240, int fps = 25);

// A sine tone without video.
bool make_audio_clip(const std::filesystem::path& output, double seconds = 1.0);

}  // namespace velmora::testing
