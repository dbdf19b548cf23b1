// The encoder object the windows and the command line drive: a list of tasks run on workers.
#pragma once

namespace velmora::media {

class Encoder {
public:
    // Live preview of the frames being converted; takes effect at once, also during a run.
    void set_preview(bool on) { preview_ = on; }
    bool preview() const { return preview_; }

private:
    bool preview_ = false;
};

}  // namespace velmora::media
