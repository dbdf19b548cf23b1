#include "fake_transcode.h"

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

namespace velmora::testing {
namespace {

std::map<std::string, std::string> parse(const std::string& name) {
    std::map<std::string, std::string> fields;
    std::stringstream in(name.substr(5));
    std::string item;
    while (std::getline(in, item, ';')) {
        const auto eq = item.find('=');
        if (eq != std::string::npos) {
            fields[item.substr(0, eq)] = item.substr(eq + 1);
        }
    }
    return fields;
}

}  // namespace

std::string fake_input(int ms, const std::string& mode, int step_ms) {
    return "fake:ms=" + std::to_string(ms) + ";step=" + std::to_string(step_ms) + ";mode=" + mode;
}

media::TranscodeResult fake_transcode(const media::TInputOptions& input,
                                      const media::TOutputOptions& output,
                                      const media::EngineEnvironment&,
                                      media::TranscodeControl& control,
                                      const media::TranscodeHooks& hooks, int task_index) {
    auto fields = parse(input.FileName);
    const int total_ms = std::atoi(fields["ms"].c_str());
    const int step_ms = std::max(1, std::atoi(fields["step"].c_str()));
    const std::string mode = fields["mode"];
    if (mode == "fail") {
        return media::TranscodeResult{false, false, true, "fake failure of " + input.FileName};
    }
    if (mode == "log") {
        av_log(nullptr, AV_LOG_WARNING, "fake warning %d\n", 7);
    }
    std::vector<uint8_t> picture(64 * 3 * 48, 128);
    int done_ms = 0;
    int frames = 0;
    for (;;) {
        control.wait_while_paused();
        if (control.stop_requested() && mode != "deaf") {
            return media::TranscodeResult{false, true, false, {}};
        }
        if (done_ms >= total_ms) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(step_ms));
        done_ms += step_ms;
        frames += 1;
        if (hooks.preview_wanted && hooks.preview_wanted() && hooks.on_preview_frame) {
            hooks.on_preview_frame(media::PreviewFrame{64, 48, 64 * 3, picture.data()});
        }
        media::TProgressInfo info;
        info.TaskIndex = task_index;
        info.FrameNumber = frames;
        info.FPS = sched_getscheduler(0);
        info.Quality = static_cast<float>(getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())));
        info.CurrentDuration = int64_t{done_ms} * 1000;
        info.TotalDuration = int64_t{total_ms} * 1000;
        info.CurrentSize = done_ms;
        info.BitRate = static_cast<float>(getpid());
        if (hooks.on_progress) {
            hooks.on_progress(info);
        }
        if (mode == "crash") {
            // Dies with a half-written output under the core's temporary name.
            const std::filesystem::path final_file(output.FileName);
            std::ofstream(final_file.parent_path() /
                          ("." + final_file.stem().string() + ".part-" + std::to_string(getpid()) +
                           "-0-1" + final_file.extension().string()))
                << "half";
            std::abort();
        }
        if (mode == "hang") {
            for (;;) {
                std::this_thread::sleep_for(std::chrono::seconds(1));
            }
        }
    }
    if (!output.FileName.empty()) {
        std::ofstream(output.FileName) << "converted " << input.FileName;
    }
    return media::TranscodeResult{true, false, false, {}};
}

media::EngineBackend fake_backend() {
    media::EngineBackend backend;
    backend.check_libraries = [](const std::string& dir, std::string& error) {
        if (dir.empty()) {
            error = "no LibAV folder";
            return false;
        }
        return true;
    };
    backend.check_input = [](const media::TInputOptions& input) {
        if (input.FileName.rfind("fake:", 0) == 0) {
            return media::InputCheck{true, "fake input " + input.FileName, {}};
        }
        return media::InputCheck{false, {}, "Cannot open " + input.FileName + ": not media"};
    };
    backend.validate_output = [](const media::TOutputOptions& output,
                                 const media::EngineEnvironment&) -> std::string {
        if (output.FileName.size() >= 4 &&
            output.FileName.compare(output.FileName.size() - 4, 4, ".bad") == 0) {
            return "No container writes " + output.FileName;
        }
        return {};
    };
    backend.transcode = fake_transcode;
    return backend;
}

}  // namespace velmora::testing
