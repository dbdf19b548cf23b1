#include "convert/preset_choice.h"

#include "presets/load_defaults.h"
#include "presets/option_values.h"

namespace velmora::convert {

PresetChoice preselected_choice(int preset_code) {
    PresetChoice choice;
    choice.preset_code = preset_code;
    presets::OptionPanel panel;
    const std::vector<presets::ListStep> plan = presets::Button18Click(preset_code);
    // Without a selected row the lists' change events change nothing.
    presets::replay(plan, panel, [](presets::OptionList) {});
    choice.shown = panel.shown_texts();
    choice.option_indices = presets::option_indices_text(panel.positions());
    return choice;
}

presets::PresetValues preset_values_for(const PresetChoice& choice, const std::string& file,
                                        const presets::OutputNaming& naming) {
    presets::PresetValues values;
    presets::Button6Click(values);
    presets::DefaultsRequest request;
    request.preset_code = choice.preset_code;
    request.add_file_name = file;
    request.naming = naming;
    presets::Button5Click(request, values, nullptr);
    presets::Button13Click(choice.shown, values);
    return values;
}

}  // namespace velmora::convert
