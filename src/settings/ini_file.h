// option.ini access with the semantics of Windows profile files, without any caching.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velmora::settings {

// A settings write that could not be performed; what() is "Unable to write to <full path>".
class SettingsWriteError : public std::runtime_error {
  public:
    explicit SettingsWriteError(const std::filesystem::path& file);
};

// Longest value a read hands back, in characters (UTF-8 code points).
inline constexpr std::size_t kMaxValueChars = 2047;

// One INI file: "[Section]" lines and "Key=Value" lines, UTF-8. Section and key names match
// without regard to ASCII case; values are exact. Each call opens the file anew, handles one key
// and closes it. Writes replace the file atomically and leave every other line as it was.
class IniFile {
  public:
    explicit IniFile(std::filesystem::path file);

    // The value of key in section (blanks around it and one pair of enclosing quotes removed, at
    // most kMaxValueChars), or fallback when the file, the section or the key is missing.
    std::string read(std::string_view section, std::string_view key,
                     std::string_view fallback) const;
    // Sets key in section to value, creating the file, the section (at the end of the file) and
    // the key (at the end of its section) as needed. A value with outer blanks or enclosing
    // quotes is stored in quotes so that it reads back unchanged. Throws SettingsWriteError when
    // the file cannot be written or the value holds a line break, which a single-line value cannot
    // keep.
    void write(std::string_view section, std::string_view key, std::string_view value) const;

    const std::filesystem::path& path() const { return path_; }
    // Whether anything exists at path().
    bool exists() const;

  private:
    std::filesystem::path path_;
};

}  // namespace velmora::settings
