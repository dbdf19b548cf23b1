// The fixed catalogue of output categories and formats, and the preset code that names a pair.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velmora::presets {

inline constexpr int kCategoryCount = 28;
inline constexpr int kPresetCount = 288;

// One output category with its formats in selector order.
struct CategoryRow {
    std::string_view caption;
    std::span<const std::string_view> formats;
};

// A preset code taken apart into the two selector positions.
struct CatalogueIndex {
    int category = 0;
    int format = 0;
};

// Every category, in selector order.
std::span<const CategoryRow> categories();

// The formats of category k, or an empty list for an index outside 0 to 27.
std::span<const std::string_view> formats_of(int category);

// (category + 1) * 100 + format position.
int preset_code(int category, int format);

// Decodes a code by rounding code / 100 and taking the rest as the position.
CatalogueIndex decode_preset_code(int code);

// True when the code names one of the 288 presets.
bool is_preset_code(int code);

// The caption of the format a code names; nothing for a code outside the catalogue.
std::optional<std::string_view> format_caption(int code);

// Output extension of a format: the four characters before the caption's last character,
// with the six catalogue replacements (".alac", ".flac", ".aiff", ".mpeg", ".rm", ".ra").
std::string format_extension(std::string_view caption);

}  // namespace velmora::presets
