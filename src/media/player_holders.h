// Owners of the FFmpeg objects the player needs beyond the shared holders.
#pragma once

#include <memory>

extern "C" {
#include <libswresample/swresample.h>
}

namespace velmora::media {

struct SwrContextFree {
    void operator()(SwrContext* context) const { swr_free(&context); }
};
using SwrContextPtr = std::unique_ptr<SwrContext, SwrContextFree>;

}  // namespace velmora::media
