#include "media/player_audio.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace velmora::media {

AudioOutput::~AudioOutput() {
    close();
}

bool AudioOutput::open(int wanted_rate, int wanted_channels, Fill fill, std::string& error_text) {
    close();
    // Ctrl+C and other signals stay the program's own, not SDL's.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error_text = std::string("No sound output: ") + SDL_GetError();
        return false;
    }
    subsystem_started_ = true;
    fill_ = std::move(fill);
    SDL_AudioSpec wanted{};
    wanted.freq = wanted_rate > 0 ? wanted_rate : 44100;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(std::clamp(wanted_channels, 1, 2));
    wanted.samples = 1024;
    wanted.callback = &AudioOutput::callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    device_ =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device_ == 0) {
        error_text = std::string("Cannot open the sound output: ") + SDL_GetError();
        close();
        return false;
    }
    sample_rate_ = obtained.freq;
    channels_ = obtained.channels;
    buffer_delay_us_ = obtained.freq > 0 ? int64_t{obtained.samples} * 1000000 / obtained.freq : 0;
    return true;
}

void AudioOutput::set_paused(bool paused) {
    if (device_ != 0) {
        SDL_PauseAudioDevice(device_, paused ? 1 : 0);
    }
}

void AudioOutput::close() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    if (subsystem_started_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystem_started_ = false;
    }
    fill_ = nullptr;
}

void AudioOutput::callback(void* self, uint8_t* stream, int len) {
    auto* output = static_cast<AudioOutput*>(self);
    if (output->fill_) {
        output->fill_(stream, len);
    } else {
        std::memset(stream, 0, static_cast<size_t>(len));
    }
}

}  // namespace velmora::media
