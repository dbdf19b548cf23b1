#include "media/probe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "media/library_check.h"
#include "media/media_readback.h"
#include "media/transcode.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace velmora::media {
namespace {

using velmora::testing::TempDir;

void write_random_bytes(const std::filesystem::path& path, size_t count) {
    std::mt19937 random(7);
    std::ofstream out(path, std::ios::binary);
    for (size_t i = 0; i < count; ++i) {
        out.put(static_cast<char>(random() & 0xff));
    }
}

void write_prefix(const std::filesystem::path& from, const std::filesystem::path& to,
                  size_t bytes) {
    const auto data = velmora::testing::read_bytes(from);
    std::ofstream out(to, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(std::min(bytes, data.size())));
}

TEST(LibraryCheck, TheSystemLibrariesAreUsable) {
    std::string error = "unset";
    EXPECT_TRUE(check_libraries(VELMORA_TEST_LIBAV_DIR, error)) << error;
    EXPECT_TRUE(error.empty());
}

TEST(Probe, DescribesAClip) {
    TempDir dir;
    const auto clip = dir.path() / "clip.mp4";
    ASSERT_TRUE(velmora::testing::make_av_clip(clip, 2.0, 320, 240, 25));
    const ProbeResult result = probe_file(clip.string());
    ASSERT_TRUE(result.ok) << result.error_text;
    EXPECT_NEAR(result.duration_us, 2000000, 100000);
    EXPECT_EQ(result.size_bytes, static_cast<int64_t>(std::filesystem::file_size(clip)));
    EXPECT_NE(result.info_text.find("Video: h264"), std::string::npos) << result.info_text;
    EXPECT_NE(result.info_text.find("320x240"), std::string::npos);
    EXPECT_NE(result.info_text.find("25 fps"), std::string::npos);
    EXPECT_NE(result.info_text.find("Audio: aac"), std::string::npos);
    EXPECT_NE(result.info_text.find("44100 Hz"), std::string::npos);
    EXPECT_NE(result.info_text.find("Duration: 00:00:02"), std::string::npos);
}

TEST(Probe, FormatsDurations) {
    EXPECT_EQ(format_duration_us(0), "N/A");
    EXPECT_EQ(format_duration_us(3723450000), "01:02:03.45");
}

// Files that are not readable media: the probe and a conversion both explain why, and the
// conversion leaves nothing behind.
class BadInput : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        const auto& d = dir_->path();
        velmora::testing::write_file(d / "zero.mp4", "");
        write_random_bytes(d / "random.mp4", 64 * 1024);
        std::filesystem::create_directory(d / "folder.mp4");
        ASSERT_TRUE(velmora::testing::make_av_clip(d / "whole.mp4", 2.0));
        // Without its index (stored at the end), an MP4 cannot be read.
        write_prefix(d / "whole.mp4", d / "truncated.mp4",
                     std::filesystem::file_size(d / "whole.mp4") / 3);
        velmora::testing::write_file(d / "subtitles.srt",
                                     "1\n00:00:00,000 --> 00:00:01,000\nhello\n");
        velmora::testing::write_file(d / "header_only.wav", std::string("RIFF\x24\0\0\0WAVE", 12));
        // A playlist may not make the engine reach out to the network.
        velmora::testing::write_file(d / "remote.m3u8",
                                     "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\n"
                                     "http://127.0.0.1:9/segment.ts\n#EXT-X-ENDLIST\n");
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static TempDir* dir_;
};
TempDir* BadInput::dir_ = nullptr;

TEST_F(BadInput, ProbeAndConversionGiveClearTexts) {
    struct Case {
        const char* name;
        const char* expected;  // part of the error text
    };
    const Case cases[] = {
        {"missing.mp4", "does not exist"},
        {"folder.mp4", "folder"},
        {"zero.mp4", "empty"},
        {"random.mp4", "Not a readable media file"},
        {"truncated.mp4", "Not a readable media file"},
        {"subtitles.srt", "no audio or video stream"},
        {"header_only.wav", "media file"},
        {"remote.m3u8", ""},
    };
    TempDir out;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = (dir_->path() / c.name).string();
        const ProbeResult probe = probe_file(path);
        EXPECT_FALSE(probe.ok);
        EXPECT_NE(probe.error_text.find(c.expected), std::string::npos) << probe.error_text;
        EXPECT_NE(probe.error_text.find(path), std::string::npos) << probe.error_text;

        TInputOptions input;
        input.FileName = path;
        TOutputOptions output;
        output.FileName = out.file("out.mp4");
        TranscodeControl control;
        const TranscodeResult result =
            transcode(input, output, EngineEnvironment{VELMORA_TEST_LIBAV_DIR}, control, {}, 0);
        EXPECT_TRUE(result.failed);
        EXPECT_FALSE(result.finished);
        EXPECT_NE(result.error_text.find(c.expected), std::string::npos) << result.error_text;
        EXPECT_TRUE(velmora::testing::folder_entries(out.path()).empty());
    }
}

// A file cut in the middle of its data converts as far as it goes, or fails cleanly.
TEST_F(BadInput, StreamCutShortConvertsWhatItHas) {
    const auto whole = dir_->path() / "whole.ts";
    ASSERT_TRUE(
        velmora::testing::run_ffmpeg("-f lavfi -i testsrc2=size=320x240:rate=25:duration=4 "
                                     "-f lavfi -i sine=duration=4 -shortest",
                                     whole));
    const auto cut = dir_->path() / "cut.ts";
    write_prefix(whole, cut, std::filesystem::file_size(whole) / 2 + 77);
    TempDir out;
    TInputOptions input;
    input.FileName = cut.string();
    TOutputOptions output;
    output.FileName = out.file("cut.mp4");
    output.VideoCodec = "mpeg4";
    TranscodeControl control;
    const TranscodeResult result =
        transcode(input, output, EngineEnvironment{VELMORA_TEST_LIBAV_DIR}, control, {}, 0);
    ASSERT_TRUE(result.finished) << result.error_text;
    const auto facts = velmora::testing::read_media(output.FileName);
    ASSERT_TRUE(facts.readable);
    EXPECT_GT(facts.duration_s, 1.0);
    EXPECT_LT(facts.duration_s, 3.5);
}

// Damaged data inside otherwise valid files: each conversion ends, finished or failed with a
// text, and never takes the process down.
TEST_F(BadInput, DamagedDataNeverCrashes) {
    const std::pair<const char*, const char*> containers[] = {
        {"mkv", "-c:v mpeg4 -c:a mp2"},      {"avi", "-c:v mpeg4 -c:a mp2"},
        {"mpg", "-c:v mpeg2video -c:a mp2"}, {"ts", "-c:v mpeg2video -c:a mp2"},
        {"flv", "-c:v flv -c:a libmp3lame"}, {"mov", "-c:v mpeg4 -c:a aac -movflags +faststart"}};
    TempDir out;
    std::mt19937 random(11);
    for (const auto& [ext, codecs] : containers) {
        SCOPED_TRACE(ext);
        const auto clean = out.path() / (std::string("clean.") + ext);
        ASSERT_TRUE(velmora::testing::run_ffmpeg(
            std::string("-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 -f lavfi -i "
                        "sine=duration=2 -shortest ") +
                codecs,
            clean));
        auto bytes = velmora::testing::read_bytes(clean);
        // Keep the first kilobytes (headers) and spoil one byte in 50 after them.
        for (size_t at = 4096; at < bytes.size(); at += 1 + random() % 100) {
            bytes[at] = static_cast<uint8_t>(random());
        }
        const auto damaged = out.path() / (std::string("damaged.") + ext);
        {
            std::ofstream f(damaged, std::ios::binary);
            f.write(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<std::streamsize>(bytes.size()));
        }
        TInputOptions input;
        input.FileName = damaged.string();
        TOutputOptions output;
        output.FileName = (out.path() / (std::string("from_") + ext + ".mp4")).string();
        output.VideoCodec = "mpeg4";
        output.AudioCodec = "aac";
        TranscodeControl control;
        const TranscodeResult result =
            transcode(input, output, EngineEnvironment{VELMORA_TEST_LIBAV_DIR}, control, {}, 0);
        EXPECT_NE(result.finished, result.failed);
        if (result.failed) {
            EXPECT_FALSE(result.error_text.empty());
            EXPECT_FALSE(std::filesystem::exists(output.FileName));
        } else {
            // Damaged timestamps do not blow the 2 s up into a long file.
            const auto facts = velmora::testing::read_media(output.FileName);
            EXPECT_TRUE(facts.readable);
            EXPECT_LT(facts.duration_s, 30.0);
        }
    }
}

}  // namespace
}  // namespace velmora::media
