// Move-only owners of FFmpeg objects: each frees its object with the matching FFmpeg call.
#pragma once

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

namespace velmora::media {

// Frees an input context opened with avformat_open_input.
struct InputContextFree {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
// Frees an output context; closes its file first when the muxer opened one.
struct OutputContextFree {
    void operator()(AVFormatContext* context) const {
        if (context->oformat && !(context->oformat->flags & AVFMT_NOFILE)) {
            avio_closep(&context->pb);
        }
        avformat_free_context(context);
    }
};
struct CodecContextFree {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FilterGraphFree {
    void operator()(AVFilterGraph* graph) const { avfilter_graph_free(&graph); }
};
struct FilterInOutFree {
    void operator()(AVFilterInOut* inout) const { avfilter_inout_free(&inout); }
};
struct SwsContextFree {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};

using InputContextPtr = std::unique_ptr<AVFormatContext, InputContextFree>;
using OutputContextPtr = std::unique_ptr<AVFormatContext, OutputContextFree>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using FilterGraphPtr = std::unique_ptr<AVFilterGraph, FilterGraphFree>;
using FilterInOutPtr = std::unique_ptr<AVFilterInOut, FilterInOutFree>;
using SwsContextPtr = std::unique_ptr<SwsContext, SwsContextFree>;

// An AVDictionary of options, freed at the end; get() hands the address to FFmpeg calls.
class Dictionary {
  public:
    Dictionary() = default;
    ~Dictionary() { av_dict_free(&dict_); }
    Dictionary(Dictionary&& other) noexcept : dict_(other.dict_) { other.dict_ = nullptr; }
    Dictionary& operator=(Dictionary&& other) noexcept {
        if (this != &other) {
            av_dict_free(&dict_);
            dict_ = other.dict_;
            other.dict_ = nullptr;
        }
        return *this;
    }
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    void set(const char* key, const char* value) { av_dict_set(&dict_, key, value, 0); }
    void set(const char* key, int64_t value) { av_dict_set_int(&dict_, key, value, 0); }
    AVDictionary** address() { return &dict_; }
    const AVDictionary* get() const { return dict_; }
    int count() const { return av_dict_count(dict_); }

  private:
    AVDictionary* dict_ = nullptr;
};

// A fresh frame and packet; null only when memory ran out.
inline FramePtr make_frame() {
    return FramePtr(av_frame_alloc());
}
inline PacketPtr make_packet() {
    return PacketPtr(av_packet_alloc());
}

}  // namespace velmora::media
