// Turning the option lists' entries into current preset values and into the selected row.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "jobs/job_columns.h"
#include "presets/option_panel.h"
#include "presets/preset_values.h"

namespace velmora::presets {

class SelectedRow;

// Resolution entry: empty for "保持原分辨率" and "该格式无视频", else the entry ("1280*720").
std::string frame_size_of(std::string_view entry);
// Frame rate entry: empty for "保持原帧速率" and "无视频", else the entry ("29.97", "12").
std::string frame_rate_of(std::string_view entry);
// Video bitrate entry: -1000 for "无视频", else the whole number before "kbps" times 1000; -1
// when there is no such number.
int32_t video_bitrate_of(std::string_view entry);
// Audio bitrate entry: the number before "kbps" times 1000, "." as decimal point ("4.75 kbps"
// gives 4750); -1 when there is no such number.
int32_t audio_bitrate_of(std::string_view entry);
// Sample rate entry: the entry itself.
std::string sample_rate_of(std::string_view entry);
// Aspect entry: "", "4:3", "16:9", "37:20" or "47:20"; nothing for an entry that matches none.
std::optional<std::string> aspect_ratio_of(std::string_view entry);

// Sets the current preset value that a list governs from one of its entries.
void take_entry(OptionList list, std::string_view entry, PresetValues& values);

// The job column a list's value goes to: FrameSize, VideoBitrate, FrameRate, AudioBitrate,
// AudioSampleRate or FrameAspectRatio.
jobs::JobColumn settings_column(OptionList list);

// The current preset value of a list as the text of its job column (bitrates in decimal).
std::string column_text(OptionList list, const PresetValues& values);

// Where a list's two characters sit in OptionIndices, 0-based: resolution 0, video bitrate 2,
// audio bitrate 4, aspect 6, frame rate 8, sample rate 10.
size_t option_indices_offset(OptionList list);

// Two characters of a position: "0" and the digit below 10, the decimal digits otherwise.
std::string two_digit_position(int position);

// The twelve OptionIndices characters of six positions indexed by OptionList.
std::string option_indices_text(const std::array<int, kOptionListCount>& positions);

// The six positions of an OptionIndices text, indexed by OptionList; -1 for a pair that is
// missing or not two digits.
std::array<int, kOptionListCount> parse_option_indices(std::string_view indices);

// OptionIndices with one list's two characters replaced, the other ten kept. A text shorter than
// twelve characters is first filled up with "0"; a position outside 0 to 99 keeps the old pair.
std::string with_option_index(std::string_view indices, OptionList list, int position);

// `Button13Click`: sets six current preset values from the lists' shown entries, in the order
// resolution, frame rate, video bitrate, sample rate, audio bitrate, aspect. Touches no job.
void Button13Click(const ShownTexts& shown, PresetValues& values);

// The data steps of a list's change handler (`bsSkinComboBox1Change`, `bsSkinComboBox2Change`,
// `bsSkinComboBox9Change`, `bsSkinComboBox3Change`, `bsSkinComboBox10Change`,
// `bsSkinComboBox4Change`): without a selected row nothing changes; otherwise the row's
// OptionIndices takes the list's position, the current preset value takes the entry and the
// row's settings column takes that value.
void option_list_changed(OptionList list, int position, std::string_view entry,
                         PresetValues& values, SelectedRow* selected);

}  // namespace velmora::presets
