#include "platform/wav_player.h"

#include <SDL.h>

namespace velmora::platform {

WavPlayer::~WavPlayer() {
    close_device();
    if (audio_initialised_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void WavPlayer::close_device() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
}

bool WavPlayer::play_async(const std::string& wav_path) {
    if (!audio_initialised_) {
        // Ctrl+C and other signals stay the program's own, not SDL's.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            return false;
        }
        audio_initialised_ = true;
    }
    SDL_AudioSpec format{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(wav_path.c_str(), &format, &samples, &length) == nullptr) {
        return false;
    }
    close_device();
    device_ = SDL_OpenAudioDevice(nullptr, 0, &format, nullptr, 0);
    const bool queued = device_ != 0 && SDL_QueueAudio(device_, samples, length) == 0;
    SDL_FreeWAV(samples);
    if (!queued) {
        close_device();
        return false;
    }
    // The device stays open while the queued samples play; the next sound or the end closes it.
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

}  // namespace velmora::platform
