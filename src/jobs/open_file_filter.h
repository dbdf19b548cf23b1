// The open-file dialogs' filter list and the directory listing used when adding files.
#pragma once

#include <QStringList>

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::jobs {

// One entry of the filter list: the text the user sees and its patterns ("*.avi;*.mp4").
struct FileFilterEntry {
    std::string_view description;
    std::string_view patterns;
};

// The 42 entries, the first one selected when a dialog opens.
std::span<const FileFilterEntry> open_file_filter_entries();

// The entries as "description|patterns|" pairs, one after another.
std::string open_file_filter_text();

// The entries as Qt name filters. Every pattern matches regardless of case ("*.AVI" finds
// clip.avi), "*.*" matches every file, and the pattern part is meant to be hidden
// (QFileDialog::HideNameFilterDetails) so the user sees the descriptions as they are.
QStringList qt_name_filters();

// One pattern as a case-insensitive glob: "*.avi" -> "*.[aA][vV][iI]".
QString case_insensitive_glob(QStringView pattern);

// Full paths of the entries of a directory that match the mask and are not directories
// (hidden files included), in the order the file system lists them; not recursive. Nothing
// when the path is not an existing directory.
std::vector<std::string> GetFilenames(const std::string& FilePath, const std::string& ExtMask);

}  // namespace velmora::jobs
