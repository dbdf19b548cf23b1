// Reading converted files back with libavformat, for checking what the core wrote.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velmora::testing {

struct StreamFacts {
    std::string type;   // "video", "audio", ...
    std::string codec;  // FFmpeg codec name, e.g. "mpeg4"
    std::string tag;    // FourCC text of codec_tag ("" when 0)
    int width = 0;
    int height = 0;
    double display_aspect = 0.0;  // width * SAR / height
    double frame_rate = 0.0;
    int sample_rate = 0;
    int channels = 0;
    int64_t bit_rate = 0;
};

struct MediaFacts {
    bool readable = false;
    std::string error;
    std::string format;  // demuxer name
    double duration_s = 0.0;
    int64_t bit_rate = 0;
    std::vector<StreamFacts> streams;

    // The first stream of this type, or null.
    const StreamFacts* first(const std::string& type) const;
    int count(const std::string& type) const;
};

// Opens path and reads its stream information.
MediaFacts read_media(const std::filesystem::path& path);

// The bytes of a file.
std::vector<uint8_t> read_bytes(const std::filesystem::path& path);

// Every file name in a folder, hidden ones included.
std::vector<std::string> folder_entries(const std::filesystem::path& folder);

}  // namespace velmora::testing
