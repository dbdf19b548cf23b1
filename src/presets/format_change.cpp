// The format change of the selected row.
#include "presets/format_change.h"

#include <string>

#include "presets/catalogue.h"
#include "presets/option_values.h"
#include "presets/selected_row.h"

namespace velmora::presets {

void finish_format_change(const DefaultsRequest& request, const ShownTexts& shown,
                          PresetValues& values, SelectedRow* selected) {
    const std::optional<std::string_view> caption = format_caption(request.preset_code);
    const std::string ext = caption ? format_extension(*caption) : std::string();
    if (selected == nullptr) {
        return;
    }
    Button5Click(request, values, selected);
    Button13Click(shown, values);
    selected->set_text(jobs::OutputFile,
                       swap_output_extension(selected->text(jobs::OutputFile), ext,
                                             selected->input_file(), request.naming));
    selected->set_text(jobs::PresetCode, std::to_string(request.preset_code));
}

}  // namespace velmora::presets
