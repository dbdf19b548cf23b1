// The text side of an INI file: finding a key's value and setting it, on the file's whole text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::settings::ini_text {

// The value of key in the first section named section (names compared without ASCII case),
// trimmed of surrounding blanks; nullopt when the section or the key is missing.
std::optional<std::string> find_value(std::string_view text, std::string_view section,
                                      std::string_view key);

// text with key in section set to value: an existing key line gets the new value in place; a
// new key goes after the last key of its section; a new section goes at the end. Every other
// line stays byte for byte. Returns nullopt when the stored value already equals value.
std::optional<std::string> with_value(std::string_view text, std::string_view section,
                                      std::string_view key, std::string_view value);

// value cut to at most max_chars UTF-8 code points, never inside a multi-byte sequence.
std::string cap_chars(std::string value, std::size_t max_chars);

}  // namespace velmora::settings::ini_text
