#include "media/preset_file.h"

#include <filesystem>
#include <fstream>

namespace velmora::media {
namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::string preset_file_path(const std::string& libav_dir, const std::string& name) {
    return (std::filesystem::path(libav_dir) / (name + ".ffpreset")).string();
}

bool read_preset_file(const std::string& path, PresetEntries& entries, std::string& error_text) {
    entries.clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error_text = "The video preset file is missing: " + path;
        return false;
    }
    std::ifstream in(path);
    if (!in) {
        error_text = "The video preset file cannot be read: " + path;
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string text = trimmed(line);
        if (text.empty() || text[0] == '#') {
            continue;
        }
        const auto equals = text.find('=');
        if (equals == std::string::npos || equals == 0) {
            error_text = "Line " + std::to_string(number) + " of the video preset file " + path +
                         " is not key=value: " + text;
            return false;
        }
        entries.emplace_back(trimmed(text.substr(0, equals)), trimmed(text.substr(equals + 1)));
    }
    return true;
}

}  // namespace velmora::media
