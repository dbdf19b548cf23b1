#include "convert/after_done.h"

namespace velmora::convert {

void run_after_done(settings::AfterDone choice, const AfterDoneActions& actions) {
    const std::function<void()>* action = nullptr;
    switch (choice) {
        case settings::AfterDone::OpenOutputFolder:
            action = &actions.open_output_folder;
            break;
        case settings::AfterDone::ShutDown:
            action = &actions.shut_down;
            break;
        case settings::AfterDone::PlaySound:
            action = &actions.play_sound;
            break;
        case settings::AfterDone::Nothing:
            break;
    }
    if (action != nullptr && *action) {
        (*action)();
    }
}

}  // namespace velmora::convert
