#include "app/command_line_sound.h"

#include <filesystem>
#include <iostream>

#include "convert/notification_sound.h"

namespace velmora::app {

int run_write_chime_command(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "Usage: velmora " << kWriteChimeSwitch << " PATH\n";
        return 2;
    }
    const std::filesystem::path path = argv[2];
    std::error_code ignored;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), ignored);
    }
    if (!convert::write_chime_wav(path.string())) {
        std::cerr << "velmora: cannot write " << path.string() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace velmora::app
