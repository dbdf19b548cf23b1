#include "media/preview_window.h"

#include <SDL.h>

namespace velmora::media {

PreviewWindow::~PreviewWindow() {
    close_window();
    if (video_ready_) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

bool PreviewWindow::open(int width, int height) {
    if (!video_ready_) {
        if (!error_.empty()) {
            return false;  // tried once; no display
        }
        // The window program handles its own signals; SDL must not turn Ctrl+C into an event
        // nobody reads.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            error_ = std::string("live preview unavailable: ") + SDL_GetError();
            return false;
        }
        video_ready_ = true;
    }
    window_ = SDL_CreateWindow("实时视频预览", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                               width, height, SDL_WINDOW_RESIZABLE);
    if (!window_) {
        error_ = std::string("live preview unavailable: ") + SDL_GetError();
        return false;
    }
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) {
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    }
    if (!renderer_) {
        error_ = std::string("live preview unavailable: ") + SDL_GetError();
        close_window();
        return false;
    }
    return true;
}

void PreviewWindow::close_window() {
    if (texture_) {
        SDL_DestroyTexture(texture_);
        texture_ = nullptr;
    }
    if (renderer_) {
        SDL_DestroyRenderer(renderer_);
        renderer_ = nullptr;
    }
    if (window_) {
        SDL_DestroyWindow(window_);
        window_ = nullptr;
    }
    texture_width_ = texture_height_ = 0;
}

void PreviewWindow::handle_events() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE &&
            window_ && event.window.windowID == SDL_GetWindowID(window_)) {
            close_window();
            closed_by_user_ = true;
        }
    }
}

void PreviewWindow::show(const PreviewPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgb.size() != static_cast<size_t>(picture.width) * 3 * picture.height) {
        return;
    }
    if (video_ready_) {
        handle_events();
    }
    if (closed_by_user_) {
        return;
    }
    if (!window_ && !open(picture.width, picture.height)) {
        return;
    }
    if (!texture_ || texture_width_ != picture.width || texture_height_ != picture.height) {
        if (texture_) {
            SDL_DestroyTexture(texture_);
        }
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB24, SDL_TEXTUREACCESS_STREAMING,
                                     picture.width, picture.height);
        if (!texture_) {
            return;
        }
        texture_width_ = picture.width;
        texture_height_ = picture.height;
    }
    SDL_UpdateTexture(texture_, nullptr, picture.rgb.data(), picture.width * 3);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
    ++shown_;
}

void PreviewWindow::hide() {
    close_window();
    closed_by_user_ = false;
    if (video_ready_) {
        handle_events();
    }
}

}  // namespace velmora::media
