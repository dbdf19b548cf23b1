// The presets listing against the expected one, field by field for all 288 presets.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "presets/presets_listing.h"

namespace velmora::presets {
namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

std::vector<std::string> lines_of(std::istream& in) {
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> data_file_lines(const std::string& name) {
    std::ifstream in(std::string(VELMORA_PRESETS_TEST_DATA) + "/" + name);
    EXPECT_TRUE(in.good()) << name;
    return lines_of(in);
}

// The expected listing names each option list ("3:V1"); the list file gives its entries.
std::vector<std::vector<std::string>> expected_listing() {
    std::map<std::string, std::string> entries;
    for (const std::string& line : data_file_lines("option_lists.tsv")) {
        const auto parts = split(line, '\t');
        EXPECT_EQ(parts.size(), 2u) << line;
        entries[parts[0]] = parts[1];
    }
    EXPECT_EQ(entries.size(), 89u);
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : data_file_lines("presets_listing.tsv")) {
        auto fields = split(line, '\t');
        EXPECT_EQ(fields.size(), 24u) << line;
        for (size_t i = 18; i < fields.size(); ++i) {
            const size_t colon = fields[i].find(':');
            const std::string name = fields[i].substr(colon + 1);
            EXPECT_EQ(entries.count(name), 1u) << name;
            fields[i] = fields[i].substr(0, colon + 1) + entries[name];
        }
        rows.push_back(std::move(fields));
    }
    return rows;
}

TEST(PresetsListing, MatchesTheExpectedListingFieldByField) {
    static const char* const kFieldNames[] = {
        "code",
        "category",
        "format",
        "Ext",
        "Video_FileExt",
        "Video_VideoCodec",
        "Video_VideoTag",
        "Video_FrameSize",
        "Video_VideoBitrate",
        "Video_FrameRate",
        "Video_FrameAspectRatio",
        "Video_AudioCodec",
        "Video_AudioChannels",
        "Video_AudioSampleRate",
        "Video_AudioBitrate",
        "Video_DisableVideo",
        "Video_TargetType",
        "Video_NormType",
        "resolution list",
        "video bitrate list",
        "frame rate list",
        "audio bitrate list",
        "sample rate list",
        "aspect list",
    };
    std::ostringstream out;
    write_presets_listing(out);
    std::istringstream in(out.str());
    const std::vector<std::string> actual = lines_of(in);
    const auto expected = expected_listing();
    ASSERT_EQ(expected.size(), 288u);
    ASSERT_EQ(actual.size(), expected.size());
    EXPECT_EQ(out.str().back(), '\n');
    for (size_t r = 0; r < actual.size(); ++r) {
        const auto fields = split(actual[r], '\t');
        ASSERT_EQ(fields.size(), expected[r].size()) << actual[r];
        for (size_t f = 0; f < fields.size(); ++f) {
            EXPECT_EQ(fields[f], expected[r][f])
                << "preset " << expected[r][0] << ", field " << kFieldNames[f];
        }
    }
}

TEST(PresetsListing, OneLineWrittenOut) {
    std::ostringstream out;
    write_presets_listing(out);
    const std::string text = out.str();
    const std::string first = text.substr(0, text.find('\n'));
    EXPECT_EQ(
        first,
        "100\t常用视频\tAVI - 音频视频交错格式(*.avi)\t.avi\t.avi\tmpeg4\tXVID\t\t816000\t25\t"
        "\tlibmp3lame\t2\t44100\t128000\tFalse\t\t\t"
        "0:保持原分辨率|128*96|176*144|240*176|320*240|352*240|352*288|384*288|480*480|"
        "480*576|640*368|640*480|704*480|704*576|720*480|720*576|800*600|852*480|1024*768|"
        "1280*720|1280*1024|1600*1024|1600*1200|1920*1080|1920*1200|1920*1200|2048*1536|"
        "2560*1600\t"
        "3:128 kbps|288 kbps|528 kbps|816 kbps|1200 kbps|1600 kbps|1800 kbps|2000 kbps\t"
        "9:保持原帧速率|10.00|13.00|15.00|18.00|20.00|23.00|23.97|24.00|25.00|29.97|30.00\t"
        "10:16 kbps|24 kbps|32 kbps|40 kbps|48 kbps|56 kbps|64 kbps|80 kbps|96 kbps|112 kbps|"
        "128 kbps|144 kbps|160 kbps|192 kbps|224 kbps|256 kbps|320 kbps\t"
        "4:11025|16000|22050|32000|44100|48000\t"
        "0:保持原视频模式|普通视频4:3模式|宽屏视频16:9模式|宽屏视频37:20模式|宽屏视频47:20模式");
}

}  // namespace
}  // namespace velmora::presets
