// Choosing the encoders of an output and the settings those encoders and containers accept.
#pragma once

#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

namespace velmora::media {

// The encoder an output stream gets.
struct ResolvedEncoder {
    AVCodecID id = AV_CODEC_ID_NONE;
    const AVCodec* codec = nullptr;  // null for the engine's own AMR-NB encoder
    bool own_amrnb = false;          // encoded by AmrNbEncoder, not by libavcodec
    std::string name;                // the encoder's name as used
    bool exists() const { return codec != nullptr || own_amrnb; }
};

// Resolves the requested encoder name for a stream of `type` in `format`: the name itself
// (or a codec name whose default encoder exists), then a documented alias, then, when the
// container cannot carry the result, the container's own default codec. An empty name is the
// container's default. Each substitution is appended to notes as a log line. Returns an
// encoder with id NONE when the container has no default for this type (no such stream);
// error_text is set when a named encoder cannot be resolved at all.
ResolvedEncoder resolve_encoder(const std::string& requested, AVMediaType type,
                                const AVOutputFormat* format, std::vector<std::string>& notes,
                                std::string& error_text);

// Whether the container can carry this codec (rules of ours first, then avformat_query_codec;
// unknown counts as yes).
bool container_takes(const AVOutputFormat* format, AVCodecID id);

// The alias of an encoder name that does not exist in this FFmpeg ("" when none).
std::string encoder_alias(const std::string& name);

// Nearest frame rate the encoder supports. Sets needs_unofficial when that rate is one of
// mpeg1video's non-standard rates, which the encoder takes only with "unofficial" strictness.
AVRational nearest_frame_rate(const AVCodec* codec, AVRational wanted, bool& needs_unofficial);

// A pixel format the encoder supports, closest to the source's.
AVPixelFormat choose_pixel_format(const AVCodec* codec, AVPixelFormat source);

// A sample format the encoder supports: the source's when it can, else its first.
AVSampleFormat choose_sample_format(const AVCodec* codec, AVSampleFormat source);

// The supported sample rate nearest to wanted, under the encoder's and the container's rules.
int choose_sample_rate(const ResolvedEncoder& encoder, const AVOutputFormat* format, int wanted);

// A channel layout the encoder supports with the channel count nearest to wanted.
AVChannelLayout choose_channel_layout(const ResolvedEncoder& encoder, int wanted_channels);

// Where a frame size came from: a size the user chose fails when the encoder cannot take it;
// the source's size is adapted.
enum class SizeOrigin { user_chosen, source };

// Adapts width x height to what the encoder takes (H.263's fixed sizes, rv10/rv20 multiples,
// wmv1/wmv2 even widths, chroma subsampling of pixel_format). False with error_text when a
// user-chosen size is impossible; substitutions go to notes.
bool fit_frame_size(AVCodecID id, AVPixelFormat pixel_format, SizeOrigin origin, int& width,
                    int& height, std::vector<std::string>& notes, std::string& error_text);

}  // namespace velmora::media
