#include "media/worker_priority.h"

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velmora::media {

int nice_value_of(TThreadPriority priority) {
    switch (priority) {
        case TThreadPriority::tpIdle:
        case TThreadPriority::tpLowest:
            return 19;
        case TThreadPriority::tpLower:
            return 10;
        case TThreadPriority::tpNormal:
            break;
    }
    return 0;
}

bool apply_priority_to_this_thread(TThreadPriority priority, std::string& error) {
    if (priority == TThreadPriority::tpNormal) {
        return true;
    }
    // On Linux the nice value and the policy belong to the thread, and new threads inherit
    // them, so the codec threads started later run at the same priority.
    const pid_t thread = gettid();
    if (setpriority(PRIO_PROCESS, static_cast<id_t>(thread), nice_value_of(priority)) != 0) {
        error = std::string("cannot lower the conversion priority: ") + std::strerror(errno);
        return false;
    }
    if (priority == TThreadPriority::tpIdle) {
        sched_param param{};
        param.sched_priority = 0;
        if (sched_setscheduler(0, SCHED_IDLE, &param) != 0) {
            error = std::string("cannot switch the conversion to idle scheduling: ") +
                    std::strerror(errno);
            return false;
        }
    }
    return true;
}

}  // namespace velmora::media
