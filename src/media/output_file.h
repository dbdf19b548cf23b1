// Writing an output under a temporary name beside its final name, so that a failed conversion
// never leaves a truncated file and never destroys an existing file of that name.
#pragma once

#include <string>

namespace velmora::media {

class PendingOutput {
  public:
    // Chooses a temporary name in the folder of final_path. ok() is false, with error_text set,
    // when that folder does not exist.
    explicit PendingOutput(std::string final_path);
    // Removes the temporary file unless it was committed.
    ~PendingOutput();
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;

    bool ok() const { return error_text_.empty(); }
    const std::string& error_text() const { return error_text_; }
    const std::string& temporary_path() const { return temporary_path_; }
    const std::string& final_path() const { return final_path_; }

    // Renames the temporary file over the final name; false with error_text on failure.
    bool commit(std::string& error_text);
    // Removes the temporary file.
    void discard();

  private:
    std::string final_path_;
    std::string temporary_path_;
    std::string error_text_;
    bool done_ = false;
};

// Removes what a conversion process that ended abnormally (crashed, killed) left of its
// temporary file for final_path; process_id is that process's id.
void discard_partial_outputs(const std::string& final_path, int process_id);

}  // namespace velmora::media
