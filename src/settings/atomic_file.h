// Whole-file reads and writes for small files; a write never leaves a half-written file behind.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::settings {

// What reading a file found.
enum class ReadOutcome { Read, Missing, Failed };

struct FileText {
    ReadOutcome outcome = ReadOutcome::Missing;
    std::string text;  // the contents when outcome is Read
};

// The whole contents of file; Missing when nothing is there.
FileText read_whole_file(const std::filesystem::path& file);

// Replaces file by text: writes a temporary file in the same folder, flushes it to disk and
// renames it over file (following a symbolic link to its target, keeping an existing file's
// permissions). Returns false when any step fails; file is then unchanged.
bool replace_file(const std::filesystem::path& file, std::string_view text);

}  // namespace velmora::settings
