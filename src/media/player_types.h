// The vocabulary of the preview player: its states, its option enums and where its pictures go.
#pragma once

#include <cstdint>
#include <vector>

namespace velmora::media {

// The player's states in their fixed order (TPlayState).
enum class TPlayState { psPlay, psPause, psResume, psStep, psStop, psEnd };

// How Open starts the playback.
enum class OpenStart { playing, paused };

// What Stop waits for.
enum class StopMode { no_wait, wait_for_stop };

// Seek flags: the empty set or the set holding sfAny (seek to any frame, not only key frames).
enum class SeekFlags { none, sfAny };

// Whether Seek returns before or after the picture of the new position is shown.
enum class SeekWait { no_wait, wait_for_seek_end };

// How smoothly a playback went; read by the benchmark.
struct PlaybackFigures {
    int64_t shown_frames = 0;
    int64_t late_frames = 0;      // shown more than one frame time after their time
    int64_t dropped_frames = 0;   // skipped because the next one was due already
    int64_t audio_underruns = 0;  // sound callbacks that found no samples while playing
};

// A picture as packed RGB24 lines, top line first, width * 3 bytes per line.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

// A picture lent to a sink for the length of one call: RGB24 lines of stride_bytes each.
struct VideoPicture {
    const uint8_t* rgb = nullptr;
    int width = 0;
    int height = 0;
    int stride_bytes = 0;
};

// Where the player shows its pictures: the screen of the preview pane, or a test's recorder.
// Both calls may come from any thread; a sink copies what it needs before returning.
class VideoSink {
  public:
    virtual ~VideoSink() = default;
    // Shows a picture already scaled into the display size, letterboxed.
    virtual void present(const VideoPicture& picture) = 0;
    // Nothing is shown any more (after a stop): the screen shows its idle look again.
    virtual void clear() = 0;
};

}  // namespace velmora::media
