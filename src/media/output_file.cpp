#include "media/output_file.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace velmora::media {
namespace {

std::string unique_suffix() {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1)) + "-" +
           std::to_string(ticks % 1000000);
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
    temporary_path_ = (folder / ("." + final_file.stem().string() + ".part-" + unique_suffix() +
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

}  // namespace velmora::media
