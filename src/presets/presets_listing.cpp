// The presets listing.
#include "presets/presets_listing.h"

#include "presets/catalogue.h"
#include "presets/defaults_table.h"
#include "presets/load_defaults.h"
#include "presets/option_tables.h"

namespace velmora::presets {

void write_presets_listing(std::ostream& out) {
    for (int category = 0; category < kCategoryCount; ++category) {
        const auto formats = formats_of(category);
        for (size_t format = 0; format < formats.size(); ++format) {
            const int code = preset_code(category, static_cast<int>(format));
            const PresetDefaults* row = find_defaults(code);
            const std::optional<PresetOptionRow> lists = find_option_row(code);
            PresetValues values;
            load_preset_defaults(code, values);
            out << code << '\t' << categories()[static_cast<size_t>(category)].caption << '\t'
                << formats[format] << '\t' << (row ? row->ext : std::string_view{}) << '\t'
                << values.Video_FileExt << '\t' << values.Video_VideoCodec << '\t'
                << values.Video_VideoTag << '\t' << values.Video_FrameSize << '\t'
                << values.Video_VideoBitrate << '\t' << values.Video_FrameRate << '\t'
                << values.Video_FrameAspectRatio << '\t' << values.Video_AudioCodec << '\t'
                << values.Video_AudioChannels << '\t' << values.Video_AudioSampleRate << '\t'
                << values.Video_AudioBitrate << '\t'
                << (values.Video_DisableVideo ? "True" : "False") << '\t' << values.Video_TargetType
                << '\t' << values.Video_NormType;
            for (OptionList list : kOptionLists) {
                out << '\t';
                if (!lists) {
                    continue;
                }
                const ListAssignment& assignment = (*lists)[list];
                out << assignment.preselected << ':';
                const auto items = assignment.contents->items;
                for (size_t i = 0; i < items.size(); ++i) {
                    out << (i == 0 ? "" : "|") << items[i];
                }
            }
            out << '\n';
        }
    }
}

}  // namespace velmora::presets
