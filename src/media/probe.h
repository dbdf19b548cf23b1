// Reading what a media file holds, without converting it.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::media {

// What a probe found.
struct ProbeResult {
    bool ok = false;
    int64_t duration_us = 0;  // <= 0: unknown
    int64_t size_bytes = 0;
    std::string info_text;   // several lines: container, duration, one line per stream
    std::string error_text;  // why the file is unreadable, when !ok
};

// Opens path (forced demuxer when format_name is not empty) and describes it. Never throws.
ProbeResult probe_file(const std::string& path, const std::string& format_name = {});

// "HH:MM:SS.cc" of a duration in microseconds ("N/A" when <= 0).
std::string format_duration_us(int64_t duration_us);

}  // namespace velmora::media
