#include "settings/ini_file.h"

#include <system_error>
#include <utility>

#include "settings/atomic_file.h"
#include "settings/ini_text.h"

namespace velmora::settings {
namespace {

// file as a full path, for messages.
std::filesystem::path full_path(const std::filesystem::path& file) {
    std::error_code ec;
    auto full = std::filesystem::absolute(file, ec);
    return ec ? file : full;
}

constexpr std::string_view kBlanks = " \t\v\f";

bool holds_line_break(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Whether text starts and ends with the same quote character, which a read strips.
bool is_quoted(std::string_view text) {
    return text.size() >= 2 && text.front() == text.back() &&
           (text.front() == '"' || text.front() == '\'');
}

// The text stored for value: quoted when a read would otherwise lose its outer blanks or quotes.
std::string stored_form(std::string_view value) {
    const bool outer_blank =
        !value.empty() && (kBlanks.find(value.front()) != std::string_view::npos ||
                           kBlanks.find(value.back()) != std::string_view::npos);
    if (outer_blank || is_quoted(value)) {
        return "\"" + std::string(value) + "\"";
    }
    return std::string(value);
}

// The value a stored text stands for: one pair of outer quotes removed, as Windows does.
std::string value_of(std::string_view stored) {
    if (is_quoted(stored)) {
        stored = stored.substr(1, stored.size() - 2);
    }
    return std::string(stored);
}

}  // namespace

SettingsWriteError::SettingsWriteError(const std::filesystem::path& file)
    : std::runtime_error("Unable to write to " + full_path(file).string()) {}

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
    return ini_text::cap_chars(value_of(*value), kMaxValueChars);
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
    const auto text = ini_text::with_value(file.text, section, key, stored_form(value));
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
