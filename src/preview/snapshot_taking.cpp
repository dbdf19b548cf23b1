#include "preview/snapshot_taking.h"

#include <filesystem>
#include <system_error>

namespace velmora::preview {

bool snapshot_path_taken(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status =
        std::filesystem::symlink_status(std::filesystem::path(path), error);
    return status.type() != std::filesystem::file_type::not_found &&
           status.type() != std::filesystem::file_type::none;
}

SnapshotResult take_snapshot(const RgbImage& picture, const std::string& input_file,
                             const SnapshotSettings& settings) {
    const std::string folder = settings.resolve_folder();
    const PictureType type = settings.resolve_type();
    SnapshotResult result;
    if (picture.width <= 0 || picture.height <= 0) {
        return result;
    }
    result.path = next_snapshot_path(folder, snapshot_base_name(input_file),
                                     picture_extension(type), snapshot_path_taken);
    result.error = write_picture(picture, type, result.path);
    result.outcome = result.error.empty() ? SnapshotOutcome::Saved : SnapshotOutcome::WriteFailed;
    return result;
}

}  // namespace velmora::preview
