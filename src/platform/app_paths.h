// Where the program keeps its settings file and finds its data files.
#pragma once

#include <QString>

namespace velmora::platform {

// A copy run from its build or unpacked folder (its "LibAV" folder beside the executable, which
// can be written) keeps everything beside the executable; an installed copy keeps option.ini in
// the user's configuration folder and reads its data from the install's data folder.
struct AppPaths {
    QString settings_file;            // full path of option.ini
    QString data_dir;                 // holds "LibAV" and "sounds"
    QString default_output_folder;    // $HOME/Velmora视频软件/输出
    QString default_snapshot_folder;  // $HOME/Velmora视频软件/快照

    // Paths for an executable living in exe_dir.
    static AppPaths for_executable_dir(const QString& exe_dir);
    // Everything inside one folder (tests, portable copies): option.ini, data and defaults.
    static AppPaths inside(const QString& folder);
};

}  // namespace velmora::platform
