// Naming a job's output file: the input's name with the preset's extension, in the output folder,
// numbered when the name is taken.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <string_view>

namespace velmora::presets {

// The options dialog's choice under "如果输出文件存在时".
enum class ExistingOutput {
    Rename,     // "自动重命名输出文件": a file on disk makes the name taken
    Overwrite,  // "直接覆盖输出文件": files on disk may be replaced
};

// What naming an output needs to know besides the input.
struct OutputNaming {
    std::string output_folder;  // the text of the output folder box, as shown
    ExistingOutput existing = ExistingOutput::Rename;
    std::function<bool(const std::string& path)> path_exists;  // is there a file at path
    std::set<std::string> names_in_use;  // OutputFile names the other rows of the list hold
};

inline constexpr char kPathSeparator = '/';

// The part of a path after its last separator.
std::string_view file_name_part(std::string_view path);

// The extension of a file name from its last dot, dot included; empty when it has none.
std::string_view extension_of(std::string_view file_name);

// A file name with its extension replaced by ext, or ext appended when it has none.
std::string replace_extension(std::string_view file_name, std::string_view ext);

// Folder text + separator + file name.
std::string join_output_path(std::string_view folder, std::string_view file_name);

// True when two paths name the same file once "." and doubled separators are folded.
bool same_path(std::string_view a, std::string_view b);

// The output path of an input file under a preset extension: its file name with ext, in the
// output folder; when that is taken, base + "_" + n + ext with the first free n from 1. Taken
// means: the input file itself (whatever the overwrite choice, so a job never writes over its
// own input), a name another row already uses, or with ExistingOutput::Rename an existing file.
std::string derive_output_path(std::string_view input_path, std::string_view ext,
                               const OutputNaming& naming);

// The format change of a row: its output name with the extension swapped for ext. A name that
// would then be the row's own input file or another row's name gets the first free "_n".
std::string swap_output_extension(std::string_view output_file, std::string_view ext,
                                  std::string_view input_path, const OutputNaming& naming);

}  // namespace velmora::presets
