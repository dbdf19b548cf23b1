#include "media/codec_resolution.h"

#include <gtest/gtest.h>

#include "media/amrnb_encoder.h"
#include "media/output_plan.h"
#include "media/preset_file.h"
#include "media/targets.h"
#include "media/transcode.h"
#include "support/temp_dir.h"

namespace velmora::media {
namespace {

const AVOutputFormat* format(const char* name) {
    return av_guess_format(name, nullptr, nullptr);
}

TEST(EncoderResolution, NameAliasThenContainerDefault) {
    struct Case {
        const char* container;
        AVMediaType type;
        const char* requested;
        const char* expected;
        bool substituted;
    };
    const Case cases[] = {
        {"mp4", AVMEDIA_TYPE_VIDEO, "mpeg4", "mpeg4", false},
        {"mp4", AVMEDIA_TYPE_AUDIO, "libfaac", "aac", true},
        {"avi", AVMEDIA_TYPE_VIDEO, "msmpeg4v1", "msmpeg4v2", true},
        {"mp4", AVMEDIA_TYPE_VIDEO, "msmpeg4", "libx264", true},
        {"mp4", AVMEDIA_TYPE_VIDEO, "msmpeg4v1", "libx264", true},
        {"mpeg", AVMEDIA_TYPE_AUDIO, "libfaac", "mp2", true},
        {"dvd", AVMEDIA_TYPE_AUDIO, "aac", "mp2", true},
        {"mpeg", AVMEDIA_TYPE_AUDIO, "ac3", "ac3", false},
        {"swf", AVMEDIA_TYPE_AUDIO, "aac", "libmp3lame", true},
        {"swf", AVMEDIA_TYPE_VIDEO, "", "flv", false},
        {"mov", AVMEDIA_TYPE_VIDEO, "", "libx264", false},
        {"3gp", AVMEDIA_TYPE_AUDIO, "libopencore_amrnb", "libopencore_amrnb", false},
        {"amr", AVMEDIA_TYPE_AUDIO, "", "libopencore_amrnb", false},
        {"amr", AVMEDIA_TYPE_AUDIO, "aac", "libopencore_amrnb", true},
        {"rm", AVMEDIA_TYPE_VIDEO, "rv20", "rv20", false},
        {"asf", AVMEDIA_TYPE_AUDIO, "wmav2", "wmav2", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.container) + " " + c.requested);
        std::vector<std::string> notes;
        std::string error;
        const ResolvedEncoder encoder =
            resolve_encoder(c.requested, c.type, format(c.container), notes, error);
        EXPECT_TRUE(error.empty()) << error;
        EXPECT_TRUE(encoder.exists());
        EXPECT_EQ(encoder.name, c.expected);
        EXPECT_EQ(!notes.empty(), c.substituted);
        if (!notes.empty()) {
            EXPECT_NE(notes.front().find(c.requested), std::string::npos) << notes.front();
            EXPECT_NE(notes.back().find(c.expected), std::string::npos) << notes.back();
        }
    }
}

TEST(EncoderResolution, UnknownNamesAndVideoInAudioContainers) {
    std::vector<std::string> notes;
    std::string error;
    resolve_encoder("no_such_codec", AVMEDIA_TYPE_VIDEO, format("mp4"), notes, error);
    EXPECT_NE(error.find("\"no_such_codec\" does not exist"), std::string::npos) << error;
    error.clear();
    const ResolvedEncoder none =
        resolve_encoder("", AVMEDIA_TYPE_VIDEO, format("wav"), notes, error);
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(none.id, AV_CODEC_ID_NONE);
}

TEST(EncoderConstraints, FrameRatesAsTheCommandLineRoundsThem) {
    bool unofficial = false;
    const AVCodec* mpeg2 = avcodec_find_encoder_by_name("mpeg2video");
    EXPECT_EQ(av_cmp_q(nearest_frame_rate(mpeg2, {2997, 100}, unofficial), {30000, 1001}), 0);
    EXPECT_FALSE(unofficial);
    const AVCodec* mpeg1 = avcodec_find_encoder_by_name("mpeg1video");
    EXPECT_EQ(av_cmp_q(nearest_frame_rate(mpeg1, {25, 1}, unofficial), {25, 1}), 0);
    EXPECT_FALSE(unofficial);
    EXPECT_EQ(av_cmp_q(nearest_frame_rate(mpeg1, {12, 1}, unofficial), {12, 1}), 0);
    EXPECT_TRUE(unofficial);
    const AVCodec* mpeg4 = avcodec_find_encoder_by_name("mpeg4");
    EXPECT_EQ(av_cmp_q(nearest_frame_rate(mpeg4, {2997, 100}, unofficial), {2997, 100}), 0);
}

TEST(EncoderConstraints, FrameSizes) {
    struct Case {
        AVCodecID id;
        SizeOrigin origin;
        int width, height;
        bool ok;
        int fitted_width, fitted_height;
    };
    const Case cases[] = {
        {AV_CODEC_ID_H263, SizeOrigin::user_chosen, 176, 144, true, 176, 144},
        {AV_CODEC_ID_H263, SizeOrigin::user_chosen, 320, 240, false, 0, 0},
        {AV_CODEC_ID_H263, SizeOrigin::source, 320, 240, true, 352, 288},
        {AV_CODEC_ID_H263, SizeOrigin::source, 1920, 1080, true, 1408, 1152},
        {AV_CODEC_ID_RV20, SizeOrigin::source, 322, 242, true, 320, 240},
        {AV_CODEC_ID_WMV2, SizeOrigin::user_chosen, 321, 240, true, 320, 240},
        {AV_CODEC_ID_H264, SizeOrigin::source, 321, 241, true, 320, 240},
        {AV_CODEC_ID_MPEG4, SizeOrigin::user_chosen, 720, 406, true, 720, 406},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(avcodec_get_name(c.id)) + " " + std::to_string(c.width) + "x" +
                     std::to_string(c.height));
        int width = c.width;
        int height = c.height;
        std::vector<std::string> notes;
        std::string error;
        EXPECT_EQ(fit_frame_size(c.id, AV_PIX_FMT_YUV420P, c.origin, width, height, notes, error),
                  c.ok);
        if (c.ok) {
            EXPECT_EQ(width, c.fitted_width);
            EXPECT_EQ(height, c.fitted_height);
            EXPECT_EQ(notes.empty(), width == c.width && height == c.height);
        } else {
            EXPECT_NE(error.find("176x144"), std::string::npos) << error;
        }
    }
}

TEST(EncoderConstraints, SampleRatesChannelsAndFormats) {
    std::vector<std::string> notes;
    std::string error;
    const ResolvedEncoder mp3 =
        resolve_encoder("libmp3lame", AVMEDIA_TYPE_AUDIO, format("swf"), notes, error);
    EXPECT_EQ(choose_sample_rate(mp3, format("swf"), 48000), 44100);
    EXPECT_EQ(choose_sample_rate(mp3, format("swf"), 16000), 11025);
    EXPECT_EQ(choose_sample_rate(mp3, format("mp3"), 48000), 48000);
    const ResolvedEncoder mp2 =
        resolve_encoder("mp2", AVMEDIA_TYPE_AUDIO, format("mpeg"), notes, error);
    EXPECT_EQ(choose_sample_rate(mp2, format("mpeg"), 8000), 16000);
    AVChannelLayout layout = choose_channel_layout(mp2, 6);
    EXPECT_EQ(layout.nb_channels, 2);
    av_channel_layout_uninit(&layout);
    const ResolvedEncoder amr =
        resolve_encoder("libopencore_amrnb", AVMEDIA_TYPE_AUDIO, format("amr"), notes, error);
    EXPECT_EQ(choose_sample_rate(amr, format("amr"), 44100), 8000);
    layout = choose_channel_layout(amr, 2);
    EXPECT_EQ(layout.nb_channels, 1);
    av_channel_layout_uninit(&layout);
    EXPECT_EQ(choose_sample_format(avcodec_find_encoder_by_name("libmp3lame"), AV_SAMPLE_FMT_FLT),
              AV_SAMPLE_FMT_FLTP);
    EXPECT_EQ(choose_pixel_format(avcodec_find_encoder_by_name("mpeg4"), AV_PIX_FMT_RGB24),
              AV_PIX_FMT_YUV420P);
}

TEST(AmrNb, ModeNearestToTheBitrate) {
    const std::pair<int, int> cases[] = {{7400, 7400}, {10200, 10200},  {12200, 12200},
                                         {1, 4750},    {100000, 12200}, {7700, 7950},
                                         {5000, 5150}, {-1, 4750}};
    for (const auto& [asked, expected] : cases) {
        EXPECT_EQ(AmrNbEncoder::mode_bitrate(AmrNbEncoder::mode_for_bitrate(asked)), expected)
            << asked;
    }
}

TEST(AmrNb, FramesCarryTheModeInTheirHeader) {
    AmrNbEncoder encoder(7400);
    ASSERT_TRUE(encoder.ok());
    std::vector<int16_t> tone(AmrNbEncoder::kFrameSamples);
    for (size_t i = 0; i < tone.size(); ++i) {
        tone[i] = static_cast<int16_t>((i % 40 < 20) ? 8000 : -8000);
    }
    const std::vector<uint8_t> frame = encoder.encode(tone.data(), static_cast<int>(tone.size()));
    ASSERT_EQ(frame.size(), 20u);  // 148 bits of speech at 7.4 kbit/s, one header byte
    EXPECT_EQ((frame[0] >> 3) & 0x0f, 4);
}

TEST(Targets, CommandLineValuesPerNorm) {
    const auto vcd = target_settings(TOptionTargetType::ttVCD, TOptionNormType::ntPAL, {0, 1});
    ASSERT_TRUE(vcd);
    EXPECT_EQ(vcd->format_name, "vcd");
    EXPECT_EQ(vcd->video_codec, "mpeg1video");
    EXPECT_EQ(vcd->width, 352);
    EXPECT_EQ(vcd->height, 288);
    EXPECT_EQ(vcd->gop_size, 15);
    EXPECT_EQ(vcd->video_bitrate, 1150000);
    EXPECT_EQ(vcd->min_rate, 1150000);
    EXPECT_EQ(vcd->buffer_size, 327680);
    EXPECT_EQ(vcd->audio_bitrate, 224000);
    EXPECT_EQ(vcd->audio_sample_rate, 44100);
    EXPECT_EQ(vcd->audio_channels, 2);
    EXPECT_EQ(vcd->packet_size, 2324);
    EXPECT_EQ(vcd->mux_rate, 1411200);
    EXPECT_EQ(vcd->preload_us, 440000);

    const auto svcd = target_settings(TOptionTargetType::ttSVCD, TOptionNormType::ntNTSC, {0, 1});
    ASSERT_TRUE(svcd);
    EXPECT_EQ(svcd->video_codec, "mpeg2video");
    EXPECT_EQ(svcd->height, 480);
    EXPECT_EQ(svcd->gop_size, 18);
    EXPECT_EQ(av_cmp_q(svcd->frame_rate, {30000, 1001}), 0);
    EXPECT_EQ(svcd->max_rate, 2516000);
    EXPECT_EQ(svcd->buffer_size, 1835008);
    EXPECT_TRUE(svcd->scan_offset);

    const auto dvd = target_settings(TOptionTargetType::ttDVD, TOptionNormType::ntPAL, {0, 1});
    ASSERT_TRUE(dvd);
    EXPECT_EQ(dvd->audio_codec, "ac3");
    EXPECT_EQ(dvd->width, 720);
    EXPECT_EQ(dvd->height, 576);
    EXPECT_EQ(dvd->video_bitrate, 6000000);
    EXPECT_EQ(dvd->max_rate, 9000000);
    EXPECT_EQ(dvd->audio_bitrate, 448000);
    EXPECT_EQ(dvd->audio_sample_rate, 48000);
    EXPECT_EQ(dvd->packet_size, 2048);
    EXPECT_EQ(dvd->mux_rate, 10080000);
    EXPECT_FALSE(target_settings(TOptionTargetType::ttIgnore, TOptionNormType::ntPAL, {25, 1}));
}

TEST(Targets, AutomaticNormFollowsTheSourceRate) {
    const std::pair<AVRational, TOptionNormType> cases[] = {
        {{25, 1}, TOptionNormType::ntPAL},        {{30000, 1001}, TOptionNormType::ntNTSC},
        {{24000, 1001}, TOptionNormType::ntNTSC}, {{30, 1}, TOptionNormType::ntNTSC},
        {{2997, 100}, TOptionNormType::ntNTSC},   {{15, 1}, TOptionNormType::ntPAL},
        {{0, 1}, TOptionNormType::ntPAL},         {{50, 1}, TOptionNormType::ntPAL},
    };
    for (const auto& [rate, norm] : cases) {
        EXPECT_EQ(pick_norm(TOptionNormType::ntAuto, rate), norm) << rate.num << "/" << rate.den;
    }
    EXPECT_EQ(pick_norm(TOptionNormType::ntPAL, {30000, 1001}), TOptionNormType::ntPAL);
}

TEST(FrameSizeText, WidthSeparatorHeight) {
    int w = 0;
    int h = 0;
    EXPECT_TRUE(parse_frame_size("1280*720", w, h));
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 720);
    EXPECT_TRUE(parse_frame_size("320x240", w, h));
    EXPECT_EQ(w, 320);
    for (const char* bad :
         {"", "abc", "1280*", "*720", "0*0", "1280**720", "1280*720p", "99999999999*2"}) {
        EXPECT_FALSE(parse_frame_size(bad, w, h)) << bad;
    }
}

TOutputOptions output_named(const std::string& name) {
    TOutputOptions o;
    o.FileName = "/tmp/velmora-never-written/" + name;
    o.AudioVolume = 256;
    return o;
}

TEST(ValidateOutput, AcceptsWhatCanBeMadeAndNamesWhatCannot) {
    const EngineEnvironment env{VELMORA_TEST_LIBAV_DIR};
    TOutputOptions x264 = output_named("a.mp4");
    x264.VideoCodec = "libx264";
    x264.VideoPreset = "libx264-default";
    EXPECT_EQ(validate_output(x264, env), "");

    velmora::testing::TempDir empty_libav;
    const std::string missing =
        validate_output(x264, EngineEnvironment{empty_libav.path().string()});
    EXPECT_NE(missing.find(empty_libav.file("libx264-default.ffpreset")), std::string::npos)
        << missing;

    TOutputOptions unknown = output_named("a.avi");
    unknown.AudioCodec = "no_such_audio";
    EXPECT_NE(validate_output(unknown, env).find("no_such_audio"), std::string::npos);

    TOutputOptions no_format = output_named("a.unknownext");
    EXPECT_NE(validate_output(no_format, env).find("output format"), std::string::npos);

    TOutputOptions h263 = output_named("a.3gp");
    h263.VideoCodec = "h263";
    h263.FrameSize = "320*240";
    EXPECT_NE(validate_output(h263, env).find("H.263"), std::string::npos);

    TOutputOptions bad_rate = output_named("a.mp4");
    bad_rate.FrameRate = "fast";
    EXPECT_NE(validate_output(bad_rate, env).find("frame rate"), std::string::npos);

    // Substitutions are not failures.
    TOutputOptions vob = output_named("a.vob");
    vob.AudioCodec = "libfaac";
    EXPECT_EQ(validate_output(vob, env), "");
    TOutputOptions target = output_named("a.mpg");
    target.TargetType = TOptionTargetType::ttDVD;
    EXPECT_EQ(validate_output(target, env), "");
}

TEST(PresetFile, OurX264PresetIsTakenWholeByLibx264) {
    PresetEntries entries;
    std::string error;
    ASSERT_TRUE(read_preset_file(preset_file_path(VELMORA_TEST_LIBAV_DIR, "libx264-default"),
                                 entries, error))
        << error;
    ASSERT_FALSE(entries.empty());
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    ASSERT_NE(codec, nullptr);
    AVCodecContext* context = avcodec_alloc_context3(codec);
    context->width = 320;
    context->height = 240;
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    context->time_base = {1, 25};
    AVDictionary* options = nullptr;
    for (const auto& [key, value] : entries) {
        av_dict_set(&options, key.c_str(), value.c_str(), 0);
    }
    EXPECT_EQ(avcodec_open2(context, codec, &options), 0);
    EXPECT_EQ(av_dict_count(options), 0) << "options libx264 does not know are left over";
    av_dict_free(&options);
    avcodec_free_context(&context);
}

TEST(PresetFile, MalformedLinesAreReported) {
    velmora::testing::TempDir dir;
    velmora::testing::write_file(dir.path() / "p.ffpreset", "# comment\n\ng=25\njunk\n");
    PresetEntries entries;
    std::string error;
    EXPECT_FALSE(read_preset_file(dir.file("p.ffpreset"), entries, error));
    EXPECT_NE(error.find("Line 4"), std::string::npos) << error;
}

}  // namespace
}  // namespace velmora::media
