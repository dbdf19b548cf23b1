// Value rules of the option list entries, OptionIndices, and the list change steps.
#include "presets/option_values.h"

#include <charconv>
#include <limits>

#include "presets/selected_row.h"

namespace velmora::presets {
namespace {

constexpr size_t kOptionIndicesLength = 2 * kOptionListCount;

// The entry's text up to the first "kbps", without surrounding blanks.
std::string_view number_before_kbps(std::string_view entry) {
    std::string_view number = entry.substr(0, entry.find("kbps"));
    while (!number.empty() && (number.front() == ' ' || number.front() == '\t')) {
        number.remove_prefix(1);
    }
    while (!number.empty() && (number.back() == ' ' || number.back() == '\t')) {
        number.remove_suffix(1);
    }
    return number;
}

// A decimal text of digits as a non-negative number; nothing when it holds anything else.
std::optional<int64_t> parse_digits(std::string_view digits) {
    if (digits.empty() || digits.size() > 12) {
        return std::nullopt;
    }
    int64_t value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc{} || result.ptr != digits.data() + digits.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

// A bitrate as the 32-bit value it is kept in; -1 when it does not fit.
int32_t to_bitrate(int64_t bits_per_second) {
    if (bits_per_second > std::numeric_limits<int32_t>::max()) {
        return -1;
    }
    return static_cast<int32_t>(bits_per_second);
}

}  // namespace

std::string frame_size_of(std::string_view entry) {
    if (entry == "保持原分辨率" || entry == "该格式无视频") {
        return {};
    }
    return std::string(entry);
}

std::string frame_rate_of(std::string_view entry) {
    if (entry == "保持原帧速率" || entry == "无视频") {
        return {};
    }
    return std::string(entry);
}

int32_t video_bitrate_of(std::string_view entry) {
    if (entry == "无视频") {
        return -1000;
    }
    const std::optional<int64_t> number = parse_digits(number_before_kbps(entry));
    return number ? to_bitrate(*number * 1000) : -1;
}

int32_t audio_bitrate_of(std::string_view entry) {
    const std::string_view number = number_before_kbps(entry);
    const size_t dot = number.find('.');
    if (dot == std::string_view::npos) {
        const std::optional<int64_t> whole = parse_digits(number);
        return whole ? to_bitrate(*whole * 1000) : -1;
    }
    // Exact decimal reading: whole part, then the fraction rounded to thousandths.
    const std::optional<int64_t> whole = parse_digits(number.substr(0, dot));
    const std::string_view fraction = number.substr(dot + 1);
    const std::optional<int64_t> fraction_digits = parse_digits(fraction);
    if (!whole || !fraction_digits) {
        return -1;
    }
    std::string padded(fraction.substr(0, 3));
    padded.resize(3, '0');
    int64_t thousandths = *whole * 1000 + *parse_digits(padded);
    if (fraction.size() > 3 && fraction[3] >= '5') {
        ++thousandths;
    }
    return to_bitrate(thousandths);
}

std::string sample_rate_of(std::string_view entry) {
    return std::string(entry);
}

std::optional<std::string> aspect_ratio_of(std::string_view entry) {
    if (entry == "保持原视频模式" || entry == "无视频") {
        return std::string();
    }
    if (entry == "普通视频4:3模式") {
        return std::string("4:3");
    }
    if (entry == "宽屏视频16:9模式") {
        return std::string("16:9");
    }
    if (entry == "宽屏视频37:20模式") {
        return std::string("37:20");
    }
    if (entry == "宽屏视频47:20模式") {
        return std::string("47:20");
    }
    return std::nullopt;
}

void take_entry(OptionList list, std::string_view entry, PresetValues& values) {
    switch (list) {
        case OptionList::Resolution:
            values.Video_FrameSize = frame_size_of(entry);
            break;
        case OptionList::VideoBitrate:
            values.Video_VideoBitrate = video_bitrate_of(entry);
            break;
        case OptionList::FrameRate:
            values.Video_FrameRate = frame_rate_of(entry);
            break;
        case OptionList::AudioBitrate:
            values.Video_AudioBitrate = audio_bitrate_of(entry);
            break;
        case OptionList::SampleRate:
            values.Video_AudioSampleRate = sample_rate_of(entry);
            break;
        case OptionList::Aspect:
            if (std::optional<std::string> ratio = aspect_ratio_of(entry)) {
                values.Video_FrameAspectRatio = std::move(*ratio);
            }
            break;
    }
}

jobs::JobColumn settings_column(OptionList list) {
    switch (list) {
        case OptionList::Resolution:
            return jobs::FrameSize;
        case OptionList::VideoBitrate:
            return jobs::VideoBitrate;
        case OptionList::FrameRate:
            return jobs::FrameRate;
        case OptionList::AudioBitrate:
            return jobs::AudioBitrate;
        case OptionList::SampleRate:
            return jobs::AudioSampleRate;
        case OptionList::Aspect:
            return jobs::FrameAspectRatio;
    }
    return jobs::FrameSize;
}

std::string column_text(OptionList list, const PresetValues& values) {
    switch (list) {
        case OptionList::Resolution:
            return values.Video_FrameSize;
        case OptionList::VideoBitrate:
            return std::to_string(values.Video_VideoBitrate);
        case OptionList::FrameRate:
            return values.Video_FrameRate;
        case OptionList::AudioBitrate:
            return std::to_string(values.Video_AudioBitrate);
        case OptionList::SampleRate:
            return values.Video_AudioSampleRate;
        case OptionList::Aspect:
            return values.Video_FrameAspectRatio;
    }
    return {};
}

size_t option_indices_offset(OptionList list) {
    switch (list) {
        case OptionList::Resolution:
            return 0;
        case OptionList::VideoBitrate:
            return 2;
        case OptionList::AudioBitrate:
            return 4;
        case OptionList::Aspect:
            return 6;
        case OptionList::FrameRate:
            return 8;
        case OptionList::SampleRate:
            return 10;
    }
    return 0;
}

std::string two_digit_position(int position) {
    return position < 10 ? "0" + std::to_string(position) : std::to_string(position);
}

std::string option_indices_text(const std::array<int, kOptionListCount>& positions) {
    std::string text(kOptionIndicesLength, '0');
    for (OptionList list : kOptionLists) {
        text = with_option_index(text, list, positions[static_cast<size_t>(list)]);
    }
    return text;
}

std::array<int, kOptionListCount> parse_option_indices(std::string_view indices) {
    std::array<int, kOptionListCount> positions{};
    for (OptionList list : kOptionLists) {
        const size_t offset = option_indices_offset(list);
        int& position = positions[static_cast<size_t>(list)];
        position = -1;
        if (offset + 2 <= indices.size()) {
            if (const auto value = parse_digits(indices.substr(offset, 2))) {
                position = static_cast<int>(*value);
            }
        }
    }
    return positions;
}

std::string with_option_index(std::string_view indices, OptionList list, int position) {
    std::string text(indices);
    if (text.size() < kOptionIndicesLength) {
        text.resize(kOptionIndicesLength, '0');
    }
    if (position >= 0 && position <= 99) {
        text.replace(option_indices_offset(list), 2, two_digit_position(position));
    }
    return text;
}

void Button13Click(const ShownTexts& shown, PresetValues& values) {
    for (OptionList list : {OptionList::Resolution, OptionList::FrameRate, OptionList::VideoBitrate,
                            OptionList::SampleRate, OptionList::AudioBitrate, OptionList::Aspect}) {
        take_entry(list, shown[static_cast<size_t>(list)], values);
    }
}

void option_list_changed(OptionList list, int position, std::string_view entry,
                         PresetValues& values, SelectedRow* selected) {
    if (selected == nullptr) {
        return;
    }
    selected->set_text(jobs::OptionIndices,
                       with_option_index(selected->text(jobs::OptionIndices), list, position));
    take_entry(list, entry, values);
    selected->set_text(settings_column(list), column_text(list, values));
}

}  // namespace velmora::presets
