#include "settings/settings_rules.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "settings/settings_keys.h"

namespace velmora::settings {
namespace {

constexpr std::string_view kThreadCountItems[] = {"1",  "2",  "3",  "4",  "5",  "6",  "7",
                                                  "8",  "9",  "10", "11", "12", "13", "14",
                                                  "15", "16", "17", "18", "19"};
constexpr std::string_view kPictureTexts[] = {"BMP", "JPG", "GIF", "PNG"};

int digit_of(const std::string& text) {
    return text.front() - '0';
}

// Parses a whole decimal integer with an optional sign; nullopt for anything else.
std::optional<int> parse_decimal(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

bool is_folder(const std::string& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(std::filesystem::path(folder), ec);
}

}  // namespace

bool is_absent(std::string_view value) {
    return value.empty() || value == keys::kReadFallback;
}

std::optional<std::string> read_present(const IniFile& ini, std::string_view section,
                                        std::string_view key) {
    std::string value = ini.read(section, key, keys::kReadFallback);
    if (is_absent(value)) {
        return std::nullopt;
    }
    return value;
}

std::string read_one_of(const IniFile& ini, std::string_view section, std::string_view key,
                        std::initializer_list<std::string_view> allowed,
                        std::string_view default_value) {
    const auto value = read_present(ini, section, key);
    if (value && std::find(allowed.begin(), allowed.end(), *value) != allowed.end()) {
        return *value;
    }
    ini.write(section, key, default_value);
    return std::string(default_value);
}

void make_folder(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(folder), ignored);
}

int read_thread_count_item(const IniFile& ini) {
    const auto value = read_present(ini, keys::kOptions, keys::kThreadCount);
    if (value) {
        const auto* item = std::find(std::begin(kThreadCountItems), std::end(kThreadCountItems),
                                     std::string_view(*value));
        if (item != std::end(kThreadCountItems)) {
            return static_cast<int>(item - std::begin(kThreadCountItems)) + 1;
        }
        if (*value == "0") {
            return 1;
        }
    }
    ini.write(keys::kOptions, keys::kThreadCount, "0");
    return 1;
}

AfterDone read_after_done(const IniFile& ini) {
    const auto value =
        read_one_of(ini, keys::kOptions, keys::kAfterDone, {"0", "1", "2", "3"}, "0");
    return static_cast<AfterDone>(digit_of(value));
}

media::TThreadPriority read_thread_priority(const IniFile& ini) {
    const auto value =
        read_one_of(ini, keys::kOptions, keys::kThreadPriority, {"0", "1", "2", "3"}, "3");
    return static_cast<media::TThreadPriority>(digit_of(value));
}

ExistingOutput read_overwrite_file(const IniFile& ini) {
    const auto value = read_one_of(ini, keys::kOptions, keys::kOverwriteFile, {"0", "1"}, "1");
    return static_cast<ExistingOutput>(digit_of(value));
}

bool read_show_preview(const IniFile& ini) {
    return read_one_of(ini, keys::kOptions, keys::kShowPreview, {"0", "1"}, "0") == "1";
}

std::string_view after_done_text(AfterDone action) {
    constexpr std::string_view texts[] = {"0", "1", "2", "3"};
    return texts[static_cast<int>(action)];
}

std::string_view thread_priority_text(media::TThreadPriority priority) {
    constexpr std::string_view texts[] = {"0", "1", "2", "3"};
    return texts[static_cast<int>(priority)];
}

std::string_view overwrite_file_text(ExistingOutput mode) {
    return mode == ExistingOutput::Overwrite ? "0" : "1";
}

std::string_view show_preview_text(bool checked) {
    return checked ? "1" : "0";
}

std::string read_output_folder(const IniFile& ini, const std::string& default_folder) {
    auto use_default = [&] {
        make_folder(default_folder);
        ini.write(keys::kOutPathSection, keys::kOutPath, default_folder);
        return default_folder;
    };
    try {
        if (!ini.exists()) {
            return use_default();
        }
        auto value = read_present(ini, keys::kOutPathSection, keys::kOutPath);
        if (value) {
            make_folder(*value);
            return *value;
        }
        return use_default();
    } catch (const std::exception&) {
        return use_default();
    }
}

void save_output_folder(const IniFile& ini, const std::string& folder) {
    if (is_folder(folder)) {
        ini.write(keys::kOutPathSection, keys::kOutPath, folder);
    }
}

int read_skin_index(const IniFile& ini) {
    const auto value = read_present(ini, keys::kSkin, keys::kSetSkin);
    if (!value) {
        ini.write(keys::kSkin, keys::kSetSkin, "0");
        return 0;
    }
    return parse_decimal(*value).value_or(kNoSkinIndex);
}

std::string read_snapshot_folder(const IniFile& ini, const std::string& default_folder) {
    auto value = read_present(ini, keys::kSnapShot, keys::kDir);
    if (!value) {
        ini.write(keys::kSnapShot, keys::kDir, default_folder);
        value = default_folder;
    }
    make_folder(*value);
    return *value;
}

bool save_snapshot_folder(const IniFile& ini, const std::string& folder) {
    if (!is_folder(folder)) {
        return false;
    }
    ini.write(keys::kSnapShot, keys::kDir, folder);
    return true;
}

PictureType read_picture_type(const IniFile& ini) {
    const auto value =
        read_one_of(ini, keys::kSnapShot, keys::kPicture, {"BMP", "JPG", "GIF", "PNG"}, "BMP");
    const auto* found = std::find(std::begin(kPictureTexts), std::end(kPictureTexts), value);
    return static_cast<PictureType>(found - std::begin(kPictureTexts));
}

void write_picture_type(const IniFile& ini, PictureType type) {
    ini.write(keys::kSnapShot, keys::kPicture, picture_type_text(type));
}

std::string_view picture_type_text(PictureType type) {
    return kPictureTexts[static_cast<int>(type)];
}

}  // namespace velmora::settings
