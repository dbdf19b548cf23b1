// Every distinct container and codec pair the presets use converts into what was asked.
#include <gtest/gtest.h>

#include "media/conversion_check.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace velmora::testing {
namespace {

using velmora::media::TOptionNormType;
using velmora::media::TOptionTargetType;
using velmora::media::TOutputOptions;

// One preset-like output: what the row asks, then what the file must hold.
struct Row {
    const char* name;
    const char* ext;  // of the output name
    const char* video_codec;
    const char* audio_codec;
    const char* frame_size;
    const char* frame_rate;
    const char* aspect;
    const char* tag;
    int channels;
    int sample_rate;
    int audio_bitrate;
    bool no_video;
    // Expected: codecs as FFmpeg names them ("" none), size, rate, DAR (0 unchecked), audio.
    const char* expect_video;
    int width;
    int height;
    double fps;
    double dar;
    const char* expect_audio;
    int expect_rate;
    int expect_channels;
};

constexpr double k43 = 4.0 / 3.0;
constexpr double k169 = 16.0 / 9.0;

// The source is 320x240 at 25 fps with a 44100 Hz mono tone.
const Row kRows[] = {
    {"p101", ".mp4", "mpeg4", "libmp3lame", "",  "25", "",  "",    2,     44100,
     128000, false,  "mpeg4", 320,          240, 25,   k43, "mp3", 44100, 2},
    {"p100", ".avi", "mpeg4", "libmp3lame", "",  "25", "",  "XVID", 2,     44100,
     128000, false,  "mpeg4", 320,          240, 25,   k43, "mp3",  44100, 2},
    {"p1310", ".avi", "mpeg4", "libfaac", "1280*720", "29.97", "",  "DX50", 2,     44100,
     128000,  false,  "mpeg4", 1280,      720,        29.97,   k43, "aac",  44100, 2},
    {"p103", ".mov", "",     "libfaac", "",  "25", "",  "",    2,     44100,
     128000, false,  "h264", 320,       240, 25,   k43, "aac", 44100, 2},
    {"p104", ".avi", "libxvid", "libmp3lame", "",  "25", "",  "",    2,     44100,
     128000, false,  "mpeg4",   320,          240, 25,   k43, "mp3", 44100, 2},
    {"p105", ".mkv", "mpeg4", "libmp3lame", "",  "25", "",  "",    2,     44100,
     128000, false,  "mpeg4", 320,          240, 25,   k43, "mp3", 44100, 2},
    {"p106", ".mpg", "mpeg1video", "",  "",  "25", "", "",    2,     44100,
     128000, false,  "mpeg1video", 320, 240, 25,   0,  "mp2", 44100, 2},
    {"p107", ".mpg", "mpeg2video", "",  "",  "29.97", "",  "",    2,     44100,
     128000, false,  "mpeg2video", 320, 240, 29.97,   k43, "mp2", 44100, 2},
    {"p108", ".asf", "msmpeg4",   "wmav2", "",  "25", "", "",      2,     44100,
     128000, false,  "msmpeg4v3", 320,     240, 25,   0,  "wmav2", 44100, 2},
    {"p109", ".3gp", "mpeg4", "libfaac", "176*144", "12", "4:3", "",    1,    8000,
     12000,  false,  "mpeg4", 176,       144,       12,   k43,   "aac", 8000, 1},
    {"p110", ".wmv", "wmv2", "wmav2", "",  "25", "", "",      2,     44100,
     128000, false,  "wmv2", 320,     240, 25,   0,  "wmav2", 44100, 2},
    {"p114", ".rm", "rv20", "",  "320*240", "", "", "",    0,     0,
     0,      false, "rv20", 320, 240,       0,  0,  "ac3", 44100, 1},
    {"p200", ".mp3", "", "libmp3lame", "",    "", "", "", 2, 48000, 128000, true, "", 0,
     0,      0,      0,  "mp3",        48000, 2},
    {"p201", ".wma", "", "wmav2", "", "", "", "",      2,     48000,
     128000, true,   "", 0,       0,  0,  0,  "wmav2", 48000, 2},
    {"p202", ".wav", "", "", "", "", "", "",          2,     48000,
     128000, true,   "", 0,  0,  0,  0,  "pcm_s16le", 48000, 2},
    {"p203", ".aac", "", "libfaac", "", "", "", "",    2,     48000,
     128000, true,   "", 0,         0,  0,  0,  "aac", 48000, 2},
    {"p204", ".m4a", "", "", "", "", "", "",    2,     48000,
     128000, true,   "", 0,  0,  0,  0,  "aac", 48000, 2},
    {"p205", ".ogg", "", "libvorbis", "", "", "", "",       2,     48000,
     128000, true,   "", 0,           0,  0,  0,  "vorbis", 48000, 2},
    {"p206", ".ra", "", "", "", "", "", "",    2,     48000,
     128000, true,  "", 0,  0,  0,  0,  "ac3", 48000, 2},
    {"p207", ".ac3", "", "ac3", "", "", "", "",    2,     48000,
     128000, true,   "", 0,     0,  0,  0,  "ac3", 48000, 2},
    {"p208", ".aiff", "", "", "", "", "", "",          2,     48000,
     128000, true,    "", 0,  0,  0,  0,  "pcm_s16be", 48000, 2},
    {"p209", ".mp2", "", "", "", "", "", "",    2,     44100,
     128000, true,   "", 0,  0,  0,  0,  "mp2", 44100, 2},
    {"p210", ".flac", "", "flac", "", "", "", "",     2,     48000,
     128000, true,    "", 0,      0,  0,  0,  "flac", 48000, 2},
    {"p212",   ".amr", "", "libopencore_amrnb", "", "", "", "", 1, 8000, 7400, true, "", 0, 0, 0, 0,
     "amr_nb", 8000,   1},
    {"p302", ".mp4", "libx264", "libmp3lame", "1280*720", "25", "",  "",    2,     48000,
     256000, false,  "h264",    1280,         720,        25,   k43, "mp3", 48000, 2},
    {"p307", ".vob", "",           "libfaac", "1280*720", "25", "",  "",    2,     48000,
     128000, false,  "mpeg2video", 1280,      720,        25,   k43, "mp2", 48000, 2},
    {"p308", ".mpg", "mpeg2video", "libfaac", "1280*720", "25", "",  "",    2,     48000,
     128000, false,  "mpeg2video", 1280,      720,        25,   k43, "mp2", 48000, 2},
    {"p309", ".mkv", "mpeg4", "libfaac", "",  "25", "",  "",    2,     48000,
     192000, false,  "mpeg4", 320,       240, 25,   k43, "aac", 48000, 2},
    {"p400", ".mp4", "libx264", "libfaac", "320*240", "25", "",  "",    2,     48000,
     128000, false,  "h264",    320,       240,       25,   k43, "aac", 48000, 2},
    {"p401", ".mp4", "libxvid", "libfaac", "320*240", "25", "",  "",    2,     48000,
     128000, false,  "mpeg4",   320,       240,       25,   k43, "aac", 48000, 2},
    {"p411", ".mp4", "libxvid", "libfaac", "640*480", "25", "16:9", "",    2,     48000,
     128000, false,  "mpeg4",   640,       480,       25,   k169,   "aac", 48000, 2},
    {"p502", ".mp4", "mpeg4", "libfaac", "1280*720", "29.97", "16:9", "",    2,     48000,
     128000, false,  "mpeg4", 1280,      720,        29.97,   k169,   "aac", 48000, 2},
    {"p513", ".avi", "msmpeg4",   "libmp3lame", "",  "29.97", "", "",    2,     48000,
     128000, false,  "msmpeg4v3", 320,          240, 29.97,   0,  "mp3", 48000, 2},
    {"p700",    ".3gp",   "mpeg4", "libopencore_amrnb",
     "176*144", "12",     "",      "",
     1,         8000,     10200,   false,
     "mpeg4",   176,      144,     12,
     k43,       "amr_nb", 8000,    1},
    {"p701", ".3gp", "h263", "libfaac", "176*144", "12", "", "",    2,     16000,
     48000,  false,  "h263", 176,       144,       12,   0,  "aac", 16000, 2},
    {"p702",    ".3g2",   "mpeg4", "libopencore_amrnb",
     "176*144", "12",     "",      "",
     1,         8000,     10200,   false,
     "mpeg4",   176,      144,     12,
     k43,       "amr_nb", 8000,    1},
    {"p703", ".3g2", "mpeg4", "libfaac", "176*144", "12", "",  "",    2,     32000,
     48000,  false,  "mpeg4", 176,       144,       12,   k43, "aac", 32000, 2},
    {"p706", ".avi", "h263", "libmp3lame", "352*288", "15", "", "",    2,     44100,
     128000, false,  "h263", 352,          288,       15,   0,  "mp3", 44100, 2},
    {"p901", ".mpeg", "mpeg2video", "ac3", "1280*720", "25", "",  "",    2,     48000,
     192000, false,   "mpeg2video", 1280,  720,        25,   k43, "ac3", 48000, 2},
    {"p906", ".avi", "wmv2", "libmp3lame", "1280*720", "25", "", "",    2,     48000,
     128000, false,  "wmv2", 1280,         720,        25,   0,  "mp3", 48000, 2},
    {"p907", ".avi", "msmpeg4v2", "libmp3lame", "1280*720", "25", "", "",    2,     48000,
     128000, false,  "msmpeg4v2", 1280,         720,        25,   0,  "mp3", 48000, 2},
    {"p909", ".mp4", "msmpeg4v1", "libmp3lame", "1280*720", "25", "",  "",    2,     48000,
     128000, false,  "h264",      1280,         720,        25,   k43, "mp3", 48000, 2},
    {"p1102", ".mp4", "libx264", "libmp3lame", "",  "25", "",  "",    2,     44100,
     128000,  false,  "h264",    320,          240, 25,   k43, "mp3", 44100, 2},
    {"pavi264", ".avi", "libx264", "libmp3lame", "640*480", "25", "",  "",    2,     48000,
     128000,    false,  "h264",    640,          480,       25,   k43, "mp3", 48000, 2},
    {"pmkvxvid", ".mkv", "libxvid", "libmp3lame", "",  "25", "",  "",    2,     44100,
     128000,     false,  "mpeg4",   320,          240, 25,   k43, "mp3", 44100, 2},
    {"pmkv264", ".mkv", "libx264", "libmp3lame", "",  "25", "",  "",    2,     44100,
     128000,    false,  "h264",    320,          240, 25,   k43, "mp3", 44100, 2},
    {"p1200", ".flv", "",     "libmp3lame", "",  "25", "", "",    2,     22050,
     128000,  false,  "flv1", 320,          240, 25,   0,  "mp3", 22050, 2},
    {"p1201", ".swf", "",     "libmp3lame", "",  "25", "", "",    2,     22050,
     128000,  false,  "flv1", 320,          240, 25,   0,  "mp3", 22050, 2},
    {"p1202", ".flv", "", "libmp3lame", "",    "", "", "", 2, 22050, 128000, true, "", 0,
     0,       0,      0,  "mp3",        22050, 2},
    {"p1203", ".swf", "", "libmp3lame", "",    "", "", "", 2, 22050, 128000, true, "", 0,
     0,       0,      0,  "mp3",        22050, 2},
    {"pswf48", ".swf", "",     "libmp3lame", "",  "25", "", "",    2,     48000,
     128000,   false,  "flv1", 320,          240, 25,   0,  "mp3", 44100, 2},
};

class OutputOptions : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        ASSERT_TRUE(make_av_clip(dir_->path() / "clip.mp4", 1.0, 320, 240, 25));
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static std::filesystem::path clip() { return dir_->path() / "clip.mp4"; }
    static TempDir* dir_;
};
TempDir* OutputOptions::dir_ = nullptr;

OutputCase case_of(const Row& row, const TempDir& out) {
    OutputCase c;
    c.name = row.name;
    c.output = preset_like(row.ext, row.video_codec, row.audio_codec);
    c.output.FileName = out.file(std::string(row.name) + row.ext);
    c.output.FrameSize = row.frame_size;
    c.output.FrameRate = row.frame_rate;
    c.output.FrameAspectRatio = row.aspect;
    c.output.VideoTag = row.tag;
    c.output.AudioChannels = row.channels > 0 ? row.channels : -1;
    c.output.AudioSampleRate = row.sample_rate > 0 ? row.sample_rate : -1;
    c.output.AudioBitrate = row.audio_bitrate > 0 ? row.audio_bitrate : -1;
    c.output.DisableVideo = row.no_video;
    c.expected.video_codec = row.expect_video;
    c.expected.width = row.width;
    c.expected.height = row.height;
    c.expected.frame_rate = row.fps;
    c.expected.display_aspect = row.dar;
    c.expected.video_tag = row.tag;
    c.expected.audio_codec = row.expect_audio;
    c.expected.sample_rate = row.expect_rate;
    c.expected.channels = row.expect_channels;
    return c;
}

TEST_F(OutputOptions, EveryContainerAndCodecPairOfThePresets) {
    TempDir out;
    for (const Row& row : kRows) {
        const OutputCase c = case_of(row, out);
        SCOPED_TRACE(c.name + " " + c.output.FileName);
        const ConversionOutcome outcome = convert_file(clip(), c.output);
        ASSERT_TRUE(outcome.result.finished) << outcome.result.error_text;
        expect_streams(outcome.facts, c.expected);
    }
    // Nothing but the finished outputs is left in the folder.
    EXPECT_EQ(folder_entries(out.path()).size(), std::size(kRows));
}

TEST_F(OutputOptions, SubstitutionsAreLogged) {
    TempDir out;
    TOutputOptions o = preset_like(".mp4", "msmpeg4v1", "libfaac");
    o.FileName = out.file("sub.mp4");
    const ConversionOutcome outcome = convert_file(clip(), o);
    ASSERT_TRUE(outcome.result.finished) << outcome.result.error_text;
    auto logged = [&](const std::string& part) {
        for (const std::string& line : outcome.log_lines) {
            if (line.find(part) != std::string::npos) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(logged("\"msmpeg4v1\" is not available; using \"msmpeg4v2\""));
    EXPECT_TRUE(logged("cannot carry the video codec \"msmpeg4v2\"; using its default"));
    EXPECT_TRUE(logged("\"libfaac\" is not available; using \"aac\""));
}

TEST_F(OutputOptions, DiscTargetsPalByDefault) {
    struct Target {
        TOptionTargetType type;
        const char* video;
        int width;
        int height;
        const char* audio;
        int rate;
    };
    const Target targets[] = {
        {TOptionTargetType::ttVCD, "mpeg1video", 352, 288, "mp2", 44100},
        {TOptionTargetType::ttSVCD, "mpeg2video", 480, 576, "mp2", 44100},
        {TOptionTargetType::ttDVD, "mpeg2video", 720, 576, "ac3", 48000},
    };
    TempDir out;
    for (const Target& t : targets) {
        SCOPED_TRACE(t.video + std::to_string(t.width));
        TOutputOptions o = preset_like("", "", "");
        o.FileName = out.file("target" + std::to_string(t.width) + ".mpg");
        o.TargetType = t.type;
        o.NormType = TOptionNormType::ntPAL;
        const ConversionOutcome outcome = convert_file(clip(), o);
        ASSERT_TRUE(outcome.result.finished) << outcome.result.error_text;
        ExpectedStreams e;
        e.video_codec = t.video;
        e.width = t.width;
        e.height = t.height;
        e.frame_rate = 25;
        e.audio_codec = t.audio;
        e.sample_rate = t.rate;
        expect_streams(outcome.facts, e);
        EXPECT_EQ(outcome.facts.format, "mpeg");
    }
}

TEST_F(OutputOptions, AutomaticNormTakesNtscFromTheSource) {
    TempDir out;
    const auto ntsc_clip = out.path() / "ntsc.mp4";
    ASSERT_TRUE(
        run_ffmpeg("-f lavfi -i testsrc2=size=320x240:rate=30000/1001:duration=1 "
                   "-f lavfi -i sine=duration=1 -shortest -pix_fmt yuv420p",
                   ntsc_clip));
    for (const auto& [type, width] :
         {std::pair{TOptionTargetType::ttDVD, 720}, std::pair{TOptionTargetType::ttVCD, 352}}) {
        TOutputOptions o = preset_like("", "", "");
        o.FileName = out.file("auto" + std::to_string(width) + ".mpg");
        o.TargetType = type;
        o.NormType = TOptionNormType::ntAuto;
        const ConversionOutcome outcome = convert_file(ntsc_clip, o);
        ASSERT_TRUE(outcome.result.finished) << outcome.result.error_text;
        ExpectedStreams e;
        e.video_codec = width == 720 ? "mpeg2video" : "mpeg1video";
        e.width = width;
        e.height = width == 720 ? 480 : 240;
        e.frame_rate = 29.97;
        e.audio_codec = width == 720 ? "ac3" : "mp2";
        expect_streams(outcome.facts, e);
    }
}

TEST_F(OutputOptions, DisabledVideoAndMissingStreams) {
    TempDir out;
    // DisableVideo drops the video of an A/V source.
    TOutputOptions no_video = preset_like(".mp4", "mpeg4", "aac");
    no_video.FileName = out.file("novideo.mp4");
    no_video.DisableVideo = true;
    ConversionOutcome outcome = convert_file(clip(), no_video);
    ASSERT_TRUE(outcome.result.finished) << outcome.result.error_text;
    expect_streams(outcome.facts, ExpectedStreams{.audio_codec = "aac"});

    // An audio-only source with a video preset gives an audio-only output.
    const auto tone = out.path() / "tone.wav";
    ASSERT_TRUE(make_audio_clip(tone, 1.0));
    TOutputOptions avi = preset_like(".avi", "mpeg4", "libmp3lame");
    avi.FileName = out.file("tone.avi");
    avi.FrameSize = "640*480";
    outcome = convert_file(tone, avi);
    ASSERT_TRUE(outcome.result.finished) << outcome.result.error_text;
    expect_streams(outcome.facts, ExpectedStreams{.audio_codec = "mp3"});

    // A video-only source gets no audio stream.
    const auto silent = out.path() / "silent.mp4";
    ASSERT_TRUE(run_ffmpeg("-f lavfi -i testsrc2=size=320x240:rate=25:duration=1 -pix_fmt yuv420p",
                           silent));
    TOutputOptions mkv = preset_like(".mkv", "mpeg4", "libmp3lame");
    mkv.FileName = out.file("silent.mkv");
    outcome = convert_file(silent, mkv);
    ASSERT_TRUE(outcome.result.finished) << outcome.result.error_text;
    expect_streams(outcome.facts,
                   ExpectedStreams{.video_codec = "mpeg4", .width = 320, .height = 240});
}

TEST_F(OutputOptions, OddSourceSizesAndUserFilters) {
    TempDir out;
    const auto odd = out.path() / "odd.mp4";
    ASSERT_TRUE(
        run_ffmpeg("-f lavfi -i testsrc2=size=321x241:rate=25:duration=1 -pix_fmt yuv444p", odd));
    TOutputOptions o = preset_like(".mp4", "mpeg4", "");
    o.FileName = out.file("odd_out.mp4");
    ConversionOutcome outcome = convert_file(odd, o);
    ASSERT_TRUE(outcome.result.finished) << outcome.result.error_text;
    expect_streams(outcome.facts,
                   ExpectedStreams{.video_codec = "mpeg4", .width = 320, .height = 240});

    // The user's filters come first; their odd result is rounded for the encoder.
    TOutputOptions cropped = preset_like(".mp4", "libx264", "aac");
    cropped.FileName = out.file("cropped.mp4");
    cropped.VideoFilters = "crop=201:151:0:0,hflip";
    outcome = convert_file(clip(), cropped);
    ASSERT_TRUE(outcome.result.finished) << outcome.result.error_text;
    expect_streams(
        outcome.facts,
        ExpectedStreams{.video_codec = "h264", .width = 200, .height = 150, .audio_codec = "aac"});

    TOutputOptions broken = preset_like(".mp4", "mpeg4", "aac");
    broken.FileName = out.file("broken.mp4");
    broken.VideoFilters = "no_such_filter=1";
    outcome = convert_file(clip(), broken);
    EXPECT_TRUE(outcome.result.failed);
    EXPECT_NE(outcome.result.error_text.find("no_such_filter"), std::string::npos)
        << outcome.result.error_text;
    EXPECT_FALSE(std::filesystem::exists(broken.FileName));
}

TEST_F(OutputOptions, H263SourceSizesAreScaledToALegalSize) {
    TempDir out;
    TOutputOptions o = preset_like(".3gp", "h263", "aac");
    o.FileName = out.file("h263.3gp");
    const ConversionOutcome outcome = convert_file(clip(), o);
    ASSERT_TRUE(outcome.result.finished) << outcome.result.error_text;
    expect_streams(
        outcome.facts,
        ExpectedStreams{.video_codec = "h263", .width = 352, .height = 288, .audio_codec = "aac"});

    o.FileName = out.file("h263_chosen.3gp");
    o.FrameSize = "320*240";
    const ConversionOutcome chosen = convert_file(clip(), o);
    EXPECT_TRUE(chosen.result.failed);
    EXPECT_NE(chosen.result.error_text.find("H.263"), std::string::npos);
}

}  // namespace
}  // namespace velmora::testing
