// The preview player: plays one media file at a time into a VideoSink, with the sound through
// SDL and the sound as the clock. Used from the user-interface thread; its events come back
// through the post_to_ui function given at construction, except OnFileOpen, which Open raises
// on the calling thread.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/player_types.h"

namespace velmora::media {

class PlayerSession;

// The file information of the open file (AVProbe).
struct PlayerProbe {
    std::string FileInfoText;
};

class Player {
  public:
    // Runs a handler on the user-interface thread, later; may be called from any thread. It
    // must return without waiting for the handler: Stop joins the threads that call it.
    using PostToUi = std::function<void(std::function<void()>)>;
    // Duration in microseconds, frame size (-1 x -1 without video) and the display size,
    // which the handler may change.
    using FileOpenHandler = std::function<void(int64_t ADuration, int AFrameWidth, int AFrameHeight,
                                               int& AScreenWidth, int& AScreenHeight)>;
    using PositionHandler = std::function<void(int64_t APTS)>;
    using StateHandler = std::function<void(TPlayState AState)>;

    explicit Player(PostToUi post_to_ui);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    FileOpenHandler OnFileOpen;
    PositionHandler OnPosition;
    StateHandler OnState;

    // Whether the media libraries the player needs are usable in the process.
    bool AVLibLoaded() const { return libraries_loaded_; }
    // Checks the media libraries (APath is the program's LibAV folder); false with LastErrMsg.
    bool LoadAVLib(const std::string& APath);
    // The text of the last failure.
    const std::string& LastErrMsg() const { return last_error_; }

    // Ends any playback as Stop with waiting, then opens AFileName into AScreenHandle, paused
    // when asked; raises OnFileOpen before returning true. False with LastErrMsg on failure.
    bool Open(const std::string& AFileName, VideoSink* AScreenHandle, OpenStart APaused);
    // Continues a paused playback.
    void Resume();
    // Pauses a playing one.
    void Pause();
    // Ends playback and closes the file; with wait_for_stop returns once every thread is done.
    void Stop(StopMode AWaitForStop);
    // Jumps to APTS microseconds from the start, clamped to the duration.
    void Seek(int64_t APTS, SeekFlags ASeekFlags, SeekWait AWaitForSeekEnd);
    // Silences the sound while true; kept across files.
    void SetMute(bool AMute) { mute_ = AMute; }
    bool Mute() const { return mute_; }
    // The sink given to the last Open (nullptr when none).
    VideoSink* ScreenHandle() const { return screen_; }
    // The screen may have moved or been uncovered: show the current picture again.
    void UpdateScreenPosition();
    // The picture shown now at the video's own size as RGB24; 0 x 0 without video.
    RgbPicture CurrentFrame() const;
    // The open file's description.
    const PlayerProbe& AVProbe() const { return probe_; }

    // Whether a file is open, and whether it is paused.
    bool IsOpen() const { return session_ != nullptr; }
    bool IsPaused() const;
    // Waits until the first picture of the open file is shown (at once without video).
    bool WaitForFirstPicture(std::chrono::milliseconds timeout) const;
    // How smoothly the open file plays so far.
    PlaybackFigures Figures() const;

  private:
    void post_state(uint64_t session_id, TPlayState state);
    void post_position(uint64_t session_id, int64_t position_us);
    void join_retired();

    PostToUi post_to_ui_;
    // Cleared by the destructor so handlers still queued do nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool libraries_loaded_ = false;
    std::string last_error_;
    std::atomic<bool> mute_{false};
    VideoSink* screen_ = nullptr;
    PlayerProbe probe_;
    // Which open the user-interface thread sees now; events of older opens are stale.
    uint64_t session_id_ = 0;
    uint64_t next_session_id_ = 1;
    std::unique_ptr<PlayerSession> session_;
    // Sessions stopped without waiting, joined at the next open, stop or destruction.
    std::vector<std::unique_ptr<PlayerSession>> retired_;
};

}  // namespace velmora::media
