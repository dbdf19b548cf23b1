// `velmora --write-chime PATH`: writes the notification sound; the build runs it to put
// "sounds/ring001.wav" beside the program.
#pragma once

namespace velmora::app {

inline constexpr const char* kWriteChimeSwitch = "--write-chime";

// Writes the chime to argv[2], creating its folder; the exit status (0 when written).
int run_write_chime_command(int argc, char** argv);

}  // namespace velmora::app
