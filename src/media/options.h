// Per-task option records of the conversion engine and its notification records.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::media {

// Which disc target's settings an output applies.
enum class TOptionTargetType : int { ttIgnore = 0, ttVCD = 1, ttSVCD = 2, ttDVD = 3 };

// Television norm for the disc targets.
enum class TOptionNormType : int { ntAuto = 0, ntPAL = 1, ntNTSC = 2 };

// Priority of the conversion workers.
enum class TThreadPriority : int { tpIdle = 0, tpLowest = 1, tpLower = 2, tpNormal = 3 };

// What a task reads: one input file and how to open it.
struct TInputOptions {
    std::string FileName;      // input path
    std::string FileFormat;    // forced demuxer name; empty: probe the file
    int64_t TimeStart_us = -1; // start offset; -1: from the beginning
    int ProgramIndex = -1;     // -1: every program of the input
};

// What a task writes. Integers of -1 are "not set"; empty texts give the engine's own choice.
struct TOutputOptions {
    std::string FileName;         // output path, filled when the output is attached
    std::string FileExt;          // extension with its dot
    std::string FileFormat;       // forced muxer name; empty: chosen from the extension
    std::string AudioCodec;       // encoder name; empty: the container's default
    int AudioChannels = -1;       // applied when > 0
    int AudioSampleRate = -1;     // Hz, applied when > 0
    int AudioBitrate = -1;        // bit/s, applied when > 0
    int AudioVolume = -1;         // 256 = unchanged; applied when >= 0
    std::string AudioLanguage;    // language tag of the audio stream; kept empty by the job list
    std::string VideoCodec;       // encoder name; empty: the container's default
    std::string VideoPreset;      // preset file name, e.g. "libx264-default"; empty: none
    std::string VideoTag;         // FourCC forced on the video stream
    std::string FrameSize;        // "W*H"; empty: source size
    int VideoBitrate = -1;        // bit/s, applied when > 0
    std::string FrameRate;        // frames per second as text; empty: source rate
    std::string FrameAspectRatio; // display aspect such as "16:9"; empty: source aspect
    bool DisableVideo = false;    // the output carries no video
    TOptionTargetType TargetType = TOptionTargetType::ttIgnore;
    TOptionNormType NormType = TOptionNormType::ntAuto;
    std::string VideoFilters;     // filter-graph text applied to the video
    int64_t TimeStart_us = -1;    // no start offset
    int64_t TimeLength_us = -1;   // no length limit
};

// Progress of one running task, sent every 500 ms.
struct TProgressInfo {
    int32_t TaskIndex = 0;
    int32_t FileIndex = 0;
    int32_t FrameNumber = 0;
    int32_t FPS = 0;
    float Quality = 0.0f;
    float BitRate = 0.0f;
    int64_t CurrentSize = 0;      // bytes written so far
    int64_t CurrentDuration = 0;  // media time converted so far, microseconds
    int64_t TotalDuration = 0;    // media time of the input, microseconds; <= 0 unknown
};

// End of one task (TaskIndex >= 0) or of the whole run (TaskIndex == -1).
struct TTerminateInfo {
    int32_t TaskIndex = -1;
    bool Finished = false;
    bool Exception = false;
    std::string ExceptionMsg;
};

}  // namespace velmora::media
