#include "media/output_file.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace velmora::media {
namespace {

// "." + stem + ".part-" + process id + "-": how every temporary name for final_file begins.
std::string temporary_prefix(const std::filesystem::path& final_file, int process_id) {
    return "." + final_file.stem().string() + ".part-" + std::to_string(process_id) + "-";
}

std::string unique_suffix() {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return std::to_string(counter.fetch_add(1)) + "-" + std::to_string(ticks % 1000000);
}

}  // namespace

PendingOutput::PendingOutput(std::string final_path) : final_path_(std::move(final_path)) {
    namespace fs = std::filesystem;
    const fs::path final_file(final_path_);
    if (final_path_.empty() || final_file.filename().empty()) {
        error_text_ = "No output file name was given";
        return;
    }
    fs::path folder = final_file.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        error_text_ = "The output folder does not exist: " + folder.string();
        return;
    }
    if (fs::is_directory(final_file, ec)) {
        error_text_ = "The output name is a folder: " + final_path_;
        return;
    }
    // Hidden while it grows; the extension stays last so tools still recognise the file.
    temporary_path_ = (folder / (temporary_prefix(final_file, ::getpid()) + unique_suffix() +
                                 final_file.extension().string()))
                          .string();
}

PendingOutput::~PendingOutput() {
    if (!done_) {
        discard();
    }
}

bool PendingOutput::commit(std::string& error_text) {
    std::error_code ec;
    std::filesystem::rename(temporary_path_, final_path_, ec);
    if (ec) {
        error_text = "Cannot rename the finished output to " + final_path_ + ": " + ec.message();
        discard();
        return false;
    }
    done_ = true;
    return true;
}

void PendingOutput::discard() {
    if (!temporary_path_.empty()) {
        std::error_code ec;
        std::filesystem::remove(temporary_path_, ec);
    }
    done_ = true;
}

void discard_partial_outputs(const std::string& final_path, int process_id) {
    namespace fs = std::filesystem;
    const fs::path final_file(final_path);
    fs::path folder = final_file.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    const std::string prefix = temporary_prefix(final_file, process_id);
    const std::string ext = final_file.extension().string();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() >= prefix.size() + ext.size() && name.starts_with(prefix) &&
            name.ends_with(ext)) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

}  // namespace velmora::media
