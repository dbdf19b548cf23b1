// A folder of its own for one test, removed with everything in it at the end.
#pragma once

#include <filesystem>
#include <string>

namespace velmora::testing {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // path() / name as UTF-8 text.
    std::string file(const std::string& name) const;

  private:
    std::filesystem::path path_;
};

// Writes text to a file, replacing it.
void write_file(const std::filesystem::path& path, const std::string& text);
// Reads a whole file ("" when missing).
std::string read_file(const std::filesystem::path& path);

}  // namespace velmora::testing
