// Taking one snapshot of the previewed picture: the folder and the type are resolved anew at
// every snapshot (both even when there is nothing to save), then the picture is written under
// the next free number of its type.
#pragma once

#include <functional>
#include <string>

#include "preview/snapshot_writer.h"

namespace velmora::preview {

// How the folder and the type are found; each may write its default back to the settings.
struct SnapshotSettings {
    // The snapshot folder, created when missing.
    std::function<std::string()> resolve_folder;
    // The picture type to save in.
    std::function<PictureType()> resolve_type;
};

enum class SnapshotOutcome {
    NothingToSave,  // no picture (no video open): nothing written, nothing shown
    Saved,
    WriteFailed,
};

struct SnapshotResult {
    SnapshotOutcome outcome = SnapshotOutcome::NothingToSave;
    std::string path;   // the file written, or the one that could not be written
    std::string error;  // why the write failed
};

// Whether something (a file, a folder, even a dangling link) already holds the path, so the
// numbering passes over it.
bool snapshot_path_taken(const std::string& path);

// Resolves the folder, then the type; saves the picture (when it has a size) as
// folder/base_n.ext, base being the input's file name without its last extension and n the
// smallest number not taken for that extension.
SnapshotResult take_snapshot(const RgbImage& picture, const std::string& input_file,
                             const SnapshotSettings& settings);

}  // namespace velmora::preview
