// `velmora --convert`: converting files without the window, with a preset's settings as adding
// the files in the window gives them.
#pragma once

namespace velmora::app {

// The switch of the mode.
inline constexpr const char* kConvertSwitch = "--convert";

// The help text of the mode, for --help.
extern const char* const kConvertHelp;

// Runs `velmora --convert --preset CODE [--out DIR] [--threads N] FILE...` (argv[1] is the
// switch): one progress line per task and second on standard output, a summary at the end.
// Exit status 0 when every file was converted, 1 when a file was skipped or a task failed, 2
// for unusable arguments.
int run_convert_command(int argc, char** argv);

}  // namespace velmora::app
