// Scheduling of conversion work: the four priorities on Linux.
#pragma once

#include <string>

#include "media/options.h"

namespace velmora::media {

// The nice value a priority asks for (idle runs under SCHED_IDLE at nice 19).
int nice_value_of(TThreadPriority priority);

// Applies the priority to the calling thread (and so to the threads it starts afterwards):
// tpIdle -> SCHED_IDLE, tpLowest -> nice 19, tpLower -> nice 10, tpNormal -> unchanged.
// False with an error text when the system refused.
bool apply_priority_to_this_thread(TThreadPriority priority, std::string& error);

}  // namespace velmora::media
