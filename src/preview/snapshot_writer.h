// Saving a previewed picture as a BMP, JPG, GIF or PNG file with a numbered name.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::preview {

// A picture as packed RGB24 lines, top line first, width * 3 bytes per line.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

enum class PictureType { BMP, JPG, GIF, PNG };

// "BMP", "JPG", "GIF" or "PNG" exactly as stored; nothing for any other text.
std::optional<PictureType> picture_type_from_setting(std::string_view value);
// The stored text of a type.
std::string_view picture_type_setting(PictureType type);
// ".bmp", ".jpg", ".gif" or ".png".
std::string_view picture_extension(PictureType type);

// folder + separator + base + "_" + n + extension for the smallest n >= 1 that does not exist.
std::string next_snapshot_path(const std::string& folder, const std::string& base,
                               std::string_view extension,
                               const std::function<bool(const std::string&)>& exists);

// The file name of a path without its last extension ("clip.mp4" -> "clip", "clip" -> "clip").
std::string snapshot_base_name(const std::string& input_path);

// Encodes the picture as the type asks (BMP 24-bit uncompressed; JPG colour, baseline,
// quality 90; GIF one image of at most 256 colours; PNG 24-bit) and writes it as a new file.
// Empty when written, else the error text.
std::string write_picture(const RgbImage& image, PictureType type, const std::string& path);

}  // namespace velmora::preview
