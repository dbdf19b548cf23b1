#include "convert/task_list.h"

#include "media/encoder.h"

namespace velmora::convert {

std::optional<BuildProblem> load_planned_tasks(media::Encoder& encoder,
                                               std::vector<PlannedTask>& planned) {
    encoder.clear_tasks();
    for (size_t i = 0; i < planned.size(); ++i) {
        const int row = static_cast<int>(i);
        const std::string label = "第" + std::to_string(row + 1) + "行";
        PlannedTask& task = planned[i];
        std::string error;
        const int index = encoder.add_task(task.input.FileName, task.input, error);
        if (index < 0) {
            return BuildProblem{
                row, label + "的输入文件无法打开：" + task.input.FileName + "\n" + error};
        }
        if (!encoder.set_output_file(index, task.output_path, task.output, error)) {
            return BuildProblem{row,
                                label + "的输出文件无法写入：" + task.output_path + "\n" + error};
        }
    }
    return std::nullopt;
}

}  // namespace velmora::convert
