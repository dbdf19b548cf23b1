// Loading a preset's defaults into the current preset values (the defaults routine).
#pragma once

#include <string>

#include "presets/output_naming.h"
#include "presets/preset_values.h"

namespace velmora::presets {

class SelectedRow;

// Everything the defaults routine reads besides the values it writes.
struct DefaultsRequest {
    int preset_code = 0;        // the current preset code of the two selectors
    std::string add_file_name;  // the input being added (Video_AddFileName)
    OutputNaming naming;        // output folder, overwrite choice, disk and other rows
};

// Steps of the load that do not name a file: reset, then the preset's row. A code outside the
// catalogue leaves the values reset.
void load_preset_defaults(int preset_code, PresetValues& values);

// `Button5Click`: resets the values, loads the preset's defaults, derives Video_OutPutFileName
// for the input being added (first free "_n" when taken) and, when a row is given, writes its
// columns 10 to 23. Video_AddFileName is set from the request.
void Button5Click(const DefaultsRequest& request, PresetValues& values, SelectedRow* selected);

}  // namespace velmora::presets
