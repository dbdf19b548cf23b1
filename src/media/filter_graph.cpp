#include "media/filter_graph.h"

#include "media/av_error.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
}

namespace velmora::media {

bool FilterChain::open_video(const VideoInputFormat& input, const std::string& description,
                             std::string& error_text) {
    const AVRational sar = input.sample_aspect.num > 0 && input.sample_aspect.den > 0
                               ? input.sample_aspect
                               : AVRational{1, 1};
    std::string args = "video_size=" + std::to_string(input.width) + "x" +
                       std::to_string(input.height) +
                       ":pix_fmt=" + std::to_string(static_cast<int>(input.pixel_format)) +
                       ":time_base=" + std::to_string(input.time_base.num) + "/" +
                       std::to_string(input.time_base.den) +
                       ":pixel_aspect=" + std::to_string(sar.num) + "/" + std::to_string(sar.den);
    if (input.frame_rate.num > 0 && input.frame_rate.den > 0) {
        args += ":frame_rate=" + std::to_string(input.frame_rate.num) + "/" +
                std::to_string(input.frame_rate.den);
    }
    return finish("buffer", args, "buffersink", description, error_text);
}

bool FilterChain::open_audio(const AudioInputFormat& input, const std::string& description,
                             std::string& error_text) {
    char layout[128] = {};
    if (input.channel_layout.order == AV_CHANNEL_ORDER_UNSPEC ||
        av_channel_layout_describe(&input.channel_layout, layout, sizeof layout) < 0) {
        AVChannelLayout fallback{};
        av_channel_layout_default(
            &fallback, input.channel_layout.nb_channels > 0 ? input.channel_layout.nb_channels : 2);
        av_channel_layout_describe(&fallback, layout, sizeof layout);
        av_channel_layout_uninit(&fallback);
    }
    const char* format = av_get_sample_fmt_name(input.sample_format);
    const std::string args =
        "time_base=" + std::to_string(input.time_base.num) + "/" +
        std::to_string(input.time_base.den) + ":sample_rate=" + std::to_string(input.sample_rate) +
        ":sample_fmt=" + (format ? format : "s16") + ":channel_layout=" + layout;
    return finish("abuffer", args, "abuffersink", description, error_text);
}

bool FilterChain::finish(const char* source_name, const std::string& source_args,
                         const char* sink_name, const std::string& description,
                         std::string& error_text) {
    graph_.reset(avfilter_graph_alloc());
    source_ = sink_ = nullptr;
    if (!graph_) {
        error_text = "Out of memory while building a filter graph";
        return false;
    }
    // Scaling and resampling inside the graph run on FFmpeg's own threads.
    graph_->nb_threads = 0;
    int ret = avfilter_graph_create_filter(&source_, avfilter_get_by_name(source_name), "in",
                                           source_args.c_str(), nullptr, graph_.get());
    if (ret < 0) {
        error_text =
            describe_av_error("Cannot create the filter source (" + source_args + ")", ret);
        graph_.reset();
        return false;
    }
    ret = avfilter_graph_create_filter(&sink_, avfilter_get_by_name(sink_name), "out", nullptr,
                                       nullptr, graph_.get());
    if (ret < 0) {
        error_text = describe_av_error("Cannot create the filter sink", ret);
        graph_.reset();
        return false;
    }
    FilterInOutPtr outputs(avfilter_inout_alloc());
    FilterInOutPtr inputs(avfilter_inout_alloc());
    if (!outputs || !inputs) {
        error_text = "Out of memory while building a filter graph";
        graph_.reset();
        return false;
    }
    outputs->name = av_strdup("in");
    outputs->filter_ctx = source_;
    outputs->pad_idx = 0;
    outputs->next = nullptr;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = sink_;
    inputs->pad_idx = 0;
    inputs->next = nullptr;
    const std::string text = description.empty() ? std::string("null") : description;
    AVFilterInOut* in_raw = inputs.release();
    AVFilterInOut* out_raw = outputs.release();
    ret = avfilter_graph_parse_ptr(graph_.get(), text.c_str(), &in_raw, &out_raw, nullptr);
    avfilter_inout_free(&in_raw);
    avfilter_inout_free(&out_raw);
    if (ret < 0) {
        error_text = describe_av_error("Invalid filter description \"" + text + "\"", ret);
        graph_.reset();
        return false;
    }
    ret = avfilter_graph_config(graph_.get(), nullptr);
    if (ret < 0) {
        error_text = describe_av_error("Cannot set up the filters \"" + text + "\"", ret);
        graph_.reset();
        return false;
    }
    return true;
}

int FilterChain::push(AVFrame* frame) {
    return av_buffersrc_add_frame_flags(source_, frame, 0);
}

int FilterChain::close(int64_t end_pts) {
    return av_buffersrc_close(source_, end_pts, AV_BUFFERSRC_FLAG_PUSH);
}

int FilterChain::pull(AVFrame* frame) {
    return av_buffersink_get_frame(sink_, frame);
}

void FilterChain::set_audio_frame_size(int samples) {
    av_buffersink_set_frame_size(sink_, static_cast<unsigned>(samples));
}

}  // namespace velmora::media
