// Output file names: extension rules and the search for a free name.
#include "presets/output_naming.h"

#include <filesystem>

namespace velmora::presets {
namespace {

// True when a candidate output name may not be used.
bool is_taken(std::string_view name, std::string_view input_path, const OutputNaming& naming,
              ExistingOutput existing) {
    if (naming.names_in_use.count(std::string(name)) > 0) {
        return true;
    }
    const std::string path = join_output_path(naming.output_folder, name);
    if (!input_path.empty() && same_path(path, input_path)) {
        return true;
    }
    return existing == ExistingOutput::Rename && naming.path_exists && naming.path_exists(path);
}

// stem + ext, or stem + "_" + n + ext with the first n whose name is not taken.
std::string first_free_name(std::string_view name, std::string_view input_path,
                            const OutputNaming& naming, ExistingOutput existing) {
    const std::string_view ext = extension_of(name);
    const std::string stem(name.substr(0, name.size() - ext.size()));
    std::string candidate(name);
    for (long long n = 1; is_taken(candidate, input_path, naming, existing); ++n) {
        candidate = stem + "_" + std::to_string(n) + std::string(ext);
    }
    return candidate;
}

}  // namespace

std::string_view file_name_part(std::string_view path) {
    const size_t slash = path.rfind(kPathSeparator);
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view extension_of(std::string_view file_name) {
    const std::string_view name = file_name_part(file_name);
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

std::string replace_extension(std::string_view file_name, std::string_view ext) {
    const std::string_view old_ext = extension_of(file_name);
    std::string result(file_name.substr(0, file_name.size() - old_ext.size()));
    result += ext;
    return result;
}

std::string join_output_path(std::string_view folder, std::string_view file_name) {
    std::string path(folder);
    path += kPathSeparator;
    path += file_name;
    return path;
}

bool same_path(std::string_view a, std::string_view b) {
    namespace fs = std::filesystem;
    const fs::path pa = fs::path(std::string(a)).lexically_normal();
    const fs::path pb = fs::path(std::string(b)).lexically_normal();
    return pa == pb;
}

std::string derive_output_path(std::string_view input_path, std::string_view ext,
                               const OutputNaming& naming) {
    const std::string name = replace_extension(file_name_part(input_path), ext);
    return join_output_path(naming.output_folder,
                            first_free_name(name, input_path, naming, naming.existing));
}

std::string swap_output_extension(std::string_view output_file, std::string_view ext,
                                  std::string_view input_path, const OutputNaming& naming) {
    // Files on disk are not looked at here; the guard is only against the input and other rows.
    return first_free_name(replace_extension(output_file, ext), input_path, naming,
                           ExistingOutput::Overwrite);
}

}  // namespace velmora::presets
