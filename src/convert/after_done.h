// What happens when every job of a run is done.
#pragma once

#include <functional>

#include "settings/run_options.h"

namespace velmora::convert {

// The three actions; the caller supplies how each is carried out.
struct AfterDoneActions {
    std::function<void()> open_output_folder;  // `Button20Click`
    std::function<void()> shut_down;           // `Button25Click`
    std::function<void()> play_sound;          // `Button29Click`
};

// Runs the one action of the choice ("不进行任何操作": none).
void run_after_done(settings::AfterDone choice, const AfterDoneActions& actions);

}  // namespace velmora::convert
