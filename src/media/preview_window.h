// The live preview of the conversion: a small SDL2 window of the engine's own showing the
// pictures the running tasks hand over. Used on the user-interface thread only.
#pragma once

#include <string>

#include "media/worker_protocol.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace velmora::media {

// Where preview pictures go; the encoder object owns an SDL window unless told otherwise.
class PreviewSink {
  public:
    virtual ~PreviewSink() = default;
    virtual void show(const PreviewPicture& picture) = 0;
    virtual void hide() = 0;
};

class PreviewWindow : public PreviewSink {
  public:
    PreviewWindow() = default;
    ~PreviewWindow() override;
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

    // Shows the picture, opening the window on first use; the user may close it, which keeps
    // it closed until the next hide().
    void show(const PreviewPicture& picture) override;
    void hide() override;
    bool visible() const { return window_ != nullptr; }
    // Why no window could be opened (no display), empty otherwise.
    const std::string& error() const { return error_; }
    // How many pictures were drawn.
    int shown_count() const { return shown_; }

  private:
    bool open(int width, int height);
    void close_window();
    void handle_events();

    bool video_ready_ = false;
    bool closed_by_user_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int texture_width_ = 0;
    int texture_height_ = 0;
    int shown_ = 0;
    std::string error_;
};

}  // namespace velmora::media
