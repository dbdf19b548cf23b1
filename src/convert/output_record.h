// The output-options record a new job gets from the current preset values.
#pragma once

#include "media/options.h"
#include "presets/preset_values.h"

namespace velmora::convert {

// An output record reset to the engine's defaults, then filled from the current preset values
// field by field; fields the preset values do not govern keep their defaults. FileName stays
// empty: the engine fills it when the output is attached. Integer texts that are not decimal
// integers leave their field at its default.
media::TOutputOptions output_record_from(const presets::PresetValues& values);

}  // namespace velmora::convert
