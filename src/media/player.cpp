#include "media/player.h"

#include "media/player_session.h"

#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace velmora::media {
namespace {

// "" when the library's major version in use is the one this program was built with.
std::string version_mismatch(const char* name, unsigned in_use, unsigned built_major) {
    if (AV_VERSION_MAJOR(in_use) == built_major) {
        return {};
    }
    return std::string(name) + " " + std::to_string(AV_VERSION_MAJOR(in_use)) + " is loaded, " +
           std::to_string(built_major) + " is needed";
}

}  // namespace

Player::Player(PostToUi post_to_ui) : post_to_ui_(std::move(post_to_ui)) {}

Player::~Player() {
    if (session_) {
        session_->join();
        session_.reset();
    }
    join_retired();
    *alive_ = false;
}

bool Player::LoadAVLib(const std::string& APath) {
    (void)APath;  // the libraries are the system's, linked at build time
    std::string mismatch;
    for (const std::string& text :
         {version_mismatch("libavformat", avformat_version(), LIBAVFORMAT_VERSION_MAJOR),
          version_mismatch("libavcodec", avcodec_version(), LIBAVCODEC_VERSION_MAJOR),
          version_mismatch("libavutil", avutil_version(), LIBAVUTIL_VERSION_MAJOR),
          version_mismatch("libswscale", swscale_version(), LIBSWSCALE_VERSION_MAJOR),
          version_mismatch("libswresample", swresample_version(), LIBSWRESAMPLE_VERSION_MAJOR)}) {
        if (!text.empty()) {
            mismatch += (mismatch.empty() ? "" : "; ") + text;
        }
    }
    if (!mismatch.empty()) {
        last_error_ = "The media libraries do not match this program: " + mismatch;
        libraries_loaded_ = false;
        return false;
    }
    libraries_loaded_ = true;
    return true;
}

bool Player::Open(const std::string& AFileName, VideoSink* AScreenHandle, OpenStart APaused) {
    Stop(StopMode::wait_for_stop);
    screen_ = AScreenHandle;
    if (!libraries_loaded_ && !LoadAVLib({})) {
        return false;
    }
    std::string error_text;
    std::unique_ptr<PlayerSession> session = PlayerSession::open(AFileName, error_text);
    if (!session) {
        last_error_ = error_text;
        return false;
    }
    probe_.FileInfoText = session->info_text();
    int screen_width = session->frame_width();
    int screen_height = session->frame_height();
    if (OnFileOpen) {
        OnFileOpen(session->duration_us(), session->frame_width(), session->frame_height(),
                   screen_width, screen_height);
    }
    if (screen_width <= 0 || screen_height <= 0) {
        screen_width = session->frame_width();
        screen_height = session->frame_height();
    }
    const uint64_t id = next_session_id_++;
    SessionOutput output;
    output.sink = AScreenHandle;
    output.display_width = screen_width;
    output.display_height = screen_height;
    output.start = APaused;
    output.mute = &mute_;
    output.events.position = [this, id](int64_t position_us) { post_position(id, position_us); };
    output.events.end = [this, id] { post_state(id, TPlayState::psEnd); };
    session_id_ = id;
    session_ = std::move(session);
    session_->start(std::move(output));
    post_state(id, APaused == OpenStart::paused ? TPlayState::psPause : TPlayState::psPlay);
    return true;
}

void Player::Resume() {
    if (session_ && session_->resume()) {
        post_state(session_id_, TPlayState::psResume);
    }
}

void Player::Pause() {
    if (session_ && session_->pause()) {
        post_state(session_id_, TPlayState::psPause);
    }
}

void Player::Stop(StopMode AWaitForStop) {
    if (session_) {
        const uint64_t id = session_id_;
        session_id_ = 0;
        if (AWaitForStop == StopMode::wait_for_stop) {
            session_->join();
            session_.reset();
        } else {
            session_->request_stop();
            retired_.push_back(std::move(session_));
        }
        probe_.FileInfoText.clear();
        if (screen_) {
            screen_->clear();
        }
        post_state(id, TPlayState::psStop);
    }
    if (AWaitForStop == StopMode::wait_for_stop) {
        join_retired();
    }
}

void Player::Seek(int64_t APTS, SeekFlags ASeekFlags, SeekWait AWaitForSeekEnd) {
    if (!session_) {
        return;
    }
    const int64_t request = session_->seek(APTS, ASeekFlags);
    if (AWaitForSeekEnd == SeekWait::wait_for_seek_end) {
        session_->wait_seek_end(request, std::chrono::seconds(10));
    }
}

void Player::UpdateScreenPosition() {
    if (session_) {
        session_->redraw();
    }
}

bool Player::IsPaused() const {
    return session_ && session_->paused();
}

RgbPicture Player::CurrentFrame() const {
    return session_ ? session_->current_frame() : RgbPicture{};
}

bool Player::WaitForFirstPicture(std::chrono::milliseconds timeout) const {
    return session_ && session_->wait_first_picture(timeout);
}

PlaybackFigures Player::Figures() const {
    return session_ ? session_->figures() : PlaybackFigures{};
}

void Player::post_state(uint64_t session_id, TPlayState state) {
    if (!post_to_ui_) {
        return;
    }
    post_to_ui_([this, alive = alive_, session_id, state] {
        // The end of an earlier file must not act on the file open now.
        if (!*alive || (state == TPlayState::psEnd && session_id != session_id_)) {
            return;
        }
        if (OnState) {
            OnState(state);
        }
    });
}

void Player::post_position(uint64_t session_id, int64_t position_us) {
    if (!post_to_ui_) {
        return;
    }
    post_to_ui_([this, alive = alive_, session_id, position_us] {
        if (!*alive || session_id != session_id_) {
            return;
        }
        if (OnPosition) {
            OnPosition(position_us);
        }
    });
}

void Player::join_retired() {
    for (auto& session : retired_) {
        session->join();
    }
    retired_.clear();
}

}  // namespace velmora::media
