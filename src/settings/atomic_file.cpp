#include "settings/atomic_file.h"

#include <cerrno>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::settings {
namespace {

// Closes a file descriptor when it goes out of scope.
class FdHolder {
  public:
    explicit FdHolder(int fd) : fd_(fd) {}
    ~FdHolder() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FdHolder(const FdHolder&) = delete;
    FdHolder& operator=(const FdHolder&) = delete;
    int get() const { return fd_; }
    // Closes now; false when the close reported an error.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The file a write really replaces: the target of a symbolic link, else file itself.
std::filesystem::path write_target(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::is_symlink(file, ec)) {
        auto target = std::filesystem::canonical(file, ec);
        if (!ec) {
            return target;
        }
    }
    return file;
}

std::filesystem::path temporary_beside(const std::filesystem::path& file) {
    static std::mt19937_64 random{std::random_device{}()};
    std::ostringstream name;
    name << '.' << file.filename().string() << '.' << ::getpid() << '.' << std::hex << random()
         << ".tmp";
    return file.parent_path() / name.str();
}

void sync_folder(const std::filesystem::path& folder) {
    const std::string name = folder.empty() ? std::string(".") : folder.string();
    FdHolder dir(::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) {
        ::fsync(dir.get());  // best effort: the rename itself has already succeeded
    }
}

}  // namespace

FileText read_whole_file(const std::filesystem::path& file) {
    FileText result;
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (!std::filesystem::exists(status)) {
        result.outcome = ReadOutcome::Missing;
        return result;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in || std::filesystem::is_directory(status)) {
        result.outcome = ReadOutcome::Failed;
        return result;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        result.outcome = ReadOutcome::Failed;
        return result;
    }
    result.outcome = ReadOutcome::Read;
    result.text = std::move(text).str();
    return result;
}

bool replace_file(const std::filesystem::path& file, std::string_view text) {
    const std::filesystem::path target = write_target(file);
    const std::filesystem::path temporary = temporary_beside(target);

    FdHolder out(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (out.get() < 0) {
        return false;
    }
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        ::fchmod(out.get(), existing.st_mode & 07777);
    }
    const bool written = write_all(out.get(), text) && ::fsync(out.get()) == 0 && out.close();
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    sync_folder(target.parent_path());
    return true;
}

}  // namespace velmora::settings
