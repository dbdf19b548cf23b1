// Handing planned tasks to the engine: the task list rebuilt from the job rows.
#pragma once

#include <optional>
#include <vector>

#include "convert/task_building.h"

namespace velmora::media {
class Encoder;
}

namespace velmora::convert {

// Clears the engine's task list, then adds each planned task in order and attaches its output.
// Stops at the first task the engine refuses (its input or its output), naming the row and the
// engine's reason; the tasks added before it stay until the next build.
std::optional<BuildProblem> load_planned_tasks(media::Encoder& encoder,
                                               std::vector<PlannedTask>& planned);

}  // namespace velmora::convert
