// Whether the FFmpeg libraries the engine runs on are usable.
#pragma once

#include <string>

namespace velmora::media {

// True when the FFmpeg libraries loaded at run time match the versions this program was built
// against and provide the components every conversion needs. On failure error_text says what
// is missing. libav_dir is the folder of the engine's preset files; it is not required here.
bool check_libraries(const std::string& libav_dir, std::string& error_text);

}  // namespace velmora::media
