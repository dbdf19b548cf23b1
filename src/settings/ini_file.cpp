#include "settings/ini_file.h"

#include <utility>

#include "settings/atomic_file.h"
#include "settings/ini_text.h"

namespace velmora::settings {
namespace {

bool holds_line_break(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

SettingsWriteError::SettingsWriteError(const std::filesystem::path& file)
    : std::runtime_error("Unable to write to " + file.string()) {}

IniFile::IniFile(std::filesystem::path file) : path_(std::move(file)) {}

std::string IniFile::read(std::string_view section, std::string_view key,
                          std::string_view fallback) const {
    const FileText file = read_whole_file(path_);
    if (file.outcome != ReadOutcome::Read) {
        return std::string(fallback);
    }
    auto value = ini_text::find_value(file.text, section, key);
    if (!value) {
        return std::string(fallback);
    }
    return ini_text::cap_chars(std::move(*value), kMaxValueChars);
}

void IniFile::write(std::string_view section, std::string_view key, std::string_view value) const {
    if (holds_line_break(section) || holds_line_break(key) || holds_line_break(value)) {
        throw SettingsWriteError(path_);
    }
    const FileText file = read_whole_file(path_);
    if (file.outcome == ReadOutcome::Failed) {
        // Writing now would lose whatever the unreadable file holds.
        throw SettingsWriteError(path_);
    }
    const auto text = ini_text::with_value(file.text, section, key, value);
    if (!text) {
        return;  // already stored
    }
    if (!replace_file(path_, *text)) {
        throw SettingsWriteError(path_);
    }
}

bool IniFile::exists() const {
    std::error_code ec;
    return std::filesystem::exists(path_, ec);
}

}  // namespace velmora::settings
