#include "support/media_fixtures.h"

#include <cstdlib>

namespace velmora::testing {

bool run_ffmpeg(const std::string& args, const std::filesystem::path& output) {
    const std::string command =
        "ffmpeg -nostdin -y -hide_banner -loglevel error " + args + " '" + output.string() + "'";
    return std::system(command.c_str()) == 0;
}

bool make_av_clip(const std::filesystem::path& output, double seconds, int width, int height,
                  int fps) {
    const std::string d = std::to_string(seconds);
    return run_ffmpeg("-f lavfi -i testsrc2=size=" + std::to_string(width) + "x" +
                          std::to_string(height) + ":rate=" + std::to_string(fps) +
                          ":duration=" + d + " -f lavfi -i sine=frequency=440:duration=" + d +
                          " -shortest -pix_fmt yuv420p",
                      output);
}

bool make_audio_clip(const std::filesystem::path& output, double seconds) {
    return run_ffmpeg("-f lavfi -i sine=frequency=440:duration=" + std::to_string(seconds), output);
}

}  // namespace velmora::testing
