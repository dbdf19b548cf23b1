// The data steps of a format change: the selected row takes the new preset.
#pragma once

#include "presets/load_defaults.h"
#include "presets/option_panel.h"
#include "presets/preset_values.h"

namespace velmora::presets {

class SelectedRow;

// Steps 2 to 7 of `bsSkinOfficeComboBox1Change`, run after the option lists were refilled for
// request.preset_code (`Button18Click` replayed, with its change events): without a selected row
// nothing more happens; otherwise `Button5Click` loads the defaults into the values and the row,
// `Button13Click` takes the lists' shown entries into the values, the row's OutputFile gets the
// new format's extension (numbered when that would be its own input or another row's output)
// and its PresetCode the new code.
void finish_format_change(const DefaultsRequest& request, const ShownTexts& shown,
                          PresetValues& values, SelectedRow* selected);

}  // namespace velmora::presets
