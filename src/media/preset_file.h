// The engine's video preset files: "<name>.ffpreset" in the LibAV folder, key=value lines
// applied as encoder options.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace velmora::media {

using PresetEntries = std::vector<std::pair<std::string, std::string>>;

// Where the preset called name lives: libav_dir + "/" + name + ".ffpreset".
std::string preset_file_path(const std::string& libav_dir, const std::string& name);

// Reads a preset file: one key=value per line; blank lines and lines starting with '#' are
// skipped. False with error_text when the file cannot be read or a line has no '='.
bool read_preset_file(const std::string& path, PresetEntries& entries, std::string& error_text);

}  // namespace velmora::media
