// A preset with its option lists as they stand right after the preset was chosen: each list on
// its preselected entry.
#pragma once

#include <string>

#include "presets/option_panel.h"
#include "presets/output_naming.h"
#include "presets/preset_values.h"

namespace velmora::convert {

struct PresetChoice {
    int preset_code = 0;
    presets::ShownTexts shown;   // the six lists' shown entries
    std::string option_indices;  // their positions as the twelve OptionIndices characters
};

// The lists of a preset code after their refill; a code outside the catalogue leaves them empty.
PresetChoice preselected_choice(int preset_code);

// The current preset values for adding `file` under the choice: the reset, the preset's
// defaults with the output path, then the lists' entries.
presets::PresetValues preset_values_for(const PresetChoice& choice, const std::string& file,
                                        const presets::OutputNaming& naming);

}  // namespace velmora::convert
