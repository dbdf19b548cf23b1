#include "app/command_line_convert.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "convert/job_from_file.h"
#include "convert/preset_choice.h"
#include "convert/run_progress.h"
#include "convert/task_building.h"
#include "convert/task_list.h"
#include "jobs/companion_table.h"
#include "jobs/job_row.h"
#include "media/encoder.h"
#include "media/encoder_backend.h"
#include "media/notification_queue.h"
#include "platform/app_paths.h"
#include "presets/defaults_table.h"
#include "presets/output_naming.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_rules.h"

namespace velmora::app {

const char* const kConvertHelp =
    "  --convert --preset CODE [--out DIR] [--threads N] FILE...\n"
    "                  convert the files without the window, with the settings adding them in\n"
    "                  the window gives under preset CODE (see --list-presets) and its\n"
    "                  preselected option lists; outputs go to DIR (default: the window's\n"
    "                  output folder), N files at a time (1 to 19, default 1); an existing\n"
    "                  output is never overwritten, the new one is numbered instead. Prints\n"
    "                  one progress line per file and second and a summary; the exit status\n"
    "                  is 0 when every file was converted, 1 when one was skipped or failed,\n"
    "                  2 for unusable arguments\n";

namespace {

using Clock = std::chrono::steady_clock;

struct ConvertArguments {
    int preset_code = 0;
    std::string output_folder;  // empty: the window's
    int threads = 1;
    std::vector<std::string> files;
};

// Parses the arguments after the switch; an error text when they cannot be used.
std::string parse_arguments(int argc, char** argv, ConvertArguments& parsed) {
    bool have_preset = false;
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool has_value = i + 1 < argc;
        if (argument == "--preset" || argument == "--out" || argument == "--threads") {
            if (!has_value) {
                return argument + " needs a value";
            }
            const std::string value = argv[++i];
            if (argument == "--out") {
                parsed.output_folder = value;
                continue;
            }
            const std::optional<int> number = convert::parse_decimal_integer(value);
            if (argument == "--preset") {
                if (!number || presets::find_defaults(*number) == nullptr) {
                    return "unknown preset code: " + value;
                }
                parsed.preset_code = *number;
                have_preset = true;
            } else {
                if (!number || *number < 1 || *number > 19) {
                    return "--threads takes 1 to 19: " + value;
                }
                parsed.threads = *number;
            }
        } else if (argument.starts_with("--")) {
            return "unknown option: " + argument;
        } else {
            parsed.files.push_back(argument);
        }
    }
    if (!have_preset) {
        return "--preset CODE is required";
    }
    if (parsed.files.empty()) {
        return "no file to convert";
    }
    return {};
}

// The output folder the window uses, read without writing option.ini.
std::string window_output_folder(const platform::AppPaths& paths) {
    const settings::IniFile ini(QFile::encodeName(paths.settings_file).toStdString());
    if (const std::optional<std::string> stored = settings::read_present(
            ini, settings::keys::kOutPathSection, settings::keys::kOutPath)) {
        return *stored;
    }
    return QFile::encodeName(paths.default_output_folder).toStdString();
}

std::string file_name_of(const std::string& path) {
    return std::string(presets::file_name_part(path));
}

// Converts the planned jobs; the number of tasks that did not finish.
int run_tasks(media::NotificationQueue& queue, media::Encoder& encoder,
              const std::vector<jobs::JobRowTexts>& rows, int threads) {
    const int total = static_cast<int>(rows.size());
    std::map<int, Clock::time_point> last_line;
    std::set<int> finished;
    int failed = 0;
    bool run_ended = false;
    auto label = [&](int task) {
        return "[" + std::to_string(task + 1) + "/" + std::to_string(total) + "] " +
               file_name_of(rows[static_cast<size_t>(task)].caption);
    };
    encoder.on_progress([&](const media::TProgressInfo& info) {
        if (info.TaskIndex < 0 || info.TaskIndex >= total) {
            return;
        }
        const Clock::time_point now = Clock::now();
        const auto last = last_line.find(info.TaskIndex);
        if (last != last_line.end() && now - last->second < std::chrono::seconds(1)) {
            return;
        }
        last_line[info.TaskIndex] = now;
        const convert::ProgressCells cells = convert::progress_cells(info);
        std::cout << label(info.TaskIndex) << ": " << cells.progress << ' ' << cells.current_time
                  << ' ' << cells.converted_size;
        if (cells.encode_fps) {
            std::cout << ' ' << *cells.encode_fps << " fps";
        }
        std::cout << std::endl;
    });
    encoder.on_terminate([&](const media::TTerminateInfo& info) {
        if (info.TaskIndex < 0) {
            run_ended = true;
            return;
        }
        if (info.TaskIndex >= total) {
            return;
        }
        if (info.Finished && !info.Exception) {
            finished.insert(info.TaskIndex);
            std::cout << label(info.TaskIndex) << ": 100%" << std::endl;
        } else {
            ++failed;
            std::cerr << label(info.TaskIndex) << ": failed: " << info.ExceptionMsg << std::endl;
        }
    });
    encoder.start(threads);
    while (!run_ended) {
        queue.wait_for_notifications(100);
        queue.pump();
    }
    return total - static_cast<int>(finished.size());
}

}  // namespace

int run_convert_command(int argc, char** argv) {
    ConvertArguments arguments;
    if (const std::string problem = parse_arguments(argc, argv, arguments); !problem.empty()) {
        std::cerr << "velmora --convert: " << problem << "\nUsage:\n" << kConvertHelp;
        return 2;
    }

    // Paths and file names as the window has them.
    int app_argc = 1;
    QCoreApplication app(app_argc, argv);
    const platform::AppPaths paths =
        platform::AppPaths::for_executable_dir(QCoreApplication::applicationDirPath());
    std::string output_folder =
        arguments.output_folder.empty() ? window_output_folder(paths) : arguments.output_folder;
    settings::make_folder(output_folder);
    std::error_code ignored;
    if (!std::filesystem::is_directory(output_folder, ignored)) {
        std::cerr << "velmora --convert: the output folder cannot be made: " << output_folder
                  << "\n";
        return 2;
    }

    media::NotificationQueue queue;
    media::Encoder encoder(queue, media::core_engine_backend());
    std::string error;
    if (!encoder.load_libraries(QFile::encodeName(paths.data_dir + "/LibAV").toStdString(),
                                error)) {
        std::cerr << "velmora --convert: " << error << "\n";
        return 1;
    }

    // The same steps as adding the files in the window with the preset chosen.
    const convert::PresetChoice choice = convert::preselected_choice(arguments.preset_code);
    std::vector<jobs::JobRowTexts> rows;
    jobs::CompanionTable companions;
    int skipped = 0;
    for (const std::string& file : arguments.files) {
        presets::OutputNaming naming;
        naming.output_folder = output_folder;
        naming.existing = presets::ExistingOutput::Rename;
        naming.path_exists = [](const std::string& path) {
            std::error_code unused;
            return std::filesystem::exists(path, unused);
        };
        for (const jobs::JobRowTexts& row : rows) {
            naming.names_in_use.insert(row[jobs::JobColumn::OutputFile]);
        }
        convert::JobFromFileSteps steps;
        steps.log = [](const std::string& line) {
            if (line.starts_with("***") && line != "***Can do convert.") {
                std::cerr << line << "\n";
            }
        };
        steps.apply_preset = [&](const std::string& added) {
            return convert::preset_values_for(choice, added, naming);
        };
        std::error_code missing;
        if (!std::filesystem::is_regular_file(file, missing)) {
            std::cerr << "velmora --convert: not a file: " << file << "\n";
            ++skipped;
            continue;
        }
        const convert::AddedJob job = convert::job_from_file(encoder, file, steps);
        if (job.outcome != convert::AddOutcome::Added) {
            std::cerr << "velmora --convert: skipped: " << file << "\n";
            ++skipped;
            continue;
        }
        jobs::JobRowTexts row;
        row.caption = job.input.FileName;
        row.columns = convert::job_row_columns(job, choice.preset_code, choice.option_indices);
        rows.push_back(std::move(row));
        companions.take_first_free(job.input, job.output);
    }

    int not_converted = 0;
    if (!rows.empty()) {
        auto planned = convert::plan_tasks(rows, companions, output_folder);
        if (const auto* problem = std::get_if<convert::BuildProblem>(&planned)) {
            std::cerr << "velmora --convert: " << problem->message << "\n";
            return 1;
        }
        auto& tasks = std::get<std::vector<convert::PlannedTask>>(planned);
        if (const auto problem = convert::load_planned_tasks(encoder, tasks)) {
            std::cerr << "velmora --convert: " << problem->message << "\n";
            return 1;
        }
        not_converted = run_tasks(queue, encoder, rows, arguments.threads);
    }
    const int converted = static_cast<int>(rows.size()) - not_converted;
    std::cout << "converted " << converted << ", failed " << not_converted << ", skipped "
              << skipped << "; outputs in " << output_folder << std::endl;
    return not_converted == 0 && skipped == 0 ? 0 : 1;
}

}  // namespace velmora::app
