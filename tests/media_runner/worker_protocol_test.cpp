// The records between the encoder object and its workers.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "media/worker_preview.h"
#include "media/worker_protocol.h"

namespace velmora::media {
namespace {

TEST(WorkerProtocol, TaskRoundTripsEveryField) {
    WorkerTask task;
    task.input = TInputOptions{"/in/影片 1.mp4", "mov", 1500000, 2};
    TOutputOptions& o = task.output;
    o.FileName = "/out/a.avi";
    o.FileExt = ".avi";
    o.FileFormat = "asf";
    o.AudioCodec = "mp3";
    o.AudioChannels = 2;
    o.AudioSampleRate = 44100;
    o.AudioBitrate = 128000;
    o.AudioVolume = 300;
    o.AudioLanguage = "chi";
    o.VideoCodec = "libx264";
    o.VideoPreset = "libx264-default";
    o.VideoTag = "XVID";
    o.FrameSize = "640*480";
    o.VideoBitrate = 768000;
    o.FrameRate = "29.97";
    o.FrameAspectRatio = "16:9";
    o.DisableVideo = true;
    o.TargetType = TOptionTargetType::ttDVD;
    o.NormType = TOptionNormType::ntNTSC;
    o.VideoFilters = "hflip,scale=320:240";
    o.TimeStart_us = 5;
    o.TimeLength_us = 6;
    task.env.libav_dir = "/opt/LibAV";
    task.task_index = 17;
    task.priority = TThreadPriority::tpLower;
    task.start_paused = true;
    task.preview = true;
    task.progress_interval_ms = 250;

    WorkerTask back;
    ASSERT_TRUE(decode_task(encode_task(task), back));
    EXPECT_EQ(encode_task(back), encode_task(task));
    EXPECT_EQ(back.output.FrameAspectRatio, "16:9");
    EXPECT_EQ(back.output.TargetType, TOptionTargetType::ttDVD);
    EXPECT_EQ(back.priority, TThreadPriority::tpLower);
    EXPECT_EQ(back.input.FileName, "/in/影片 1.mp4");
}

TEST(WorkerProtocol, DamagedPayloadsAreRefused) {
    const std::string task = encode_task(WorkerTask{});
    WorkerTask out;
    EXPECT_FALSE(decode_task(task.substr(0, task.size() - 1), out));
    EXPECT_FALSE(decode_task(task + "x", out));
    TProgressInfo info;
    EXPECT_FALSE(decode_progress("abc", info));
    LogLine line;
    EXPECT_FALSE(decode_log_line(encode_log_line(LogLine{1, 9, "x"}), line));  // level 0..7
    PreviewPicture picture{0, 4, 4, std::vector<uint8_t>(4 * 4 * 3)};
    std::string frame = encode_preview(picture);
    PreviewPicture decoded;
    EXPECT_TRUE(decode_preview(frame, decoded));
    frame.pop_back();
    EXPECT_FALSE(decode_preview(frame, decoded));
}

TEST(WorkerProtocol, RecordsCrossASocketAndOversizedOnesBreakTheStream) {
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    RecordWriter writer(fds[0]);
    RecordReader reader(fds[1]);
    const std::string big(300000, 'x');  // larger than one read
    std::thread sender([&] {
        writer.write(RecordType::log_line, big);
        writer.write(RecordType::progress_ack);
    });
    Record record;
    ASSERT_EQ(reader.read(record, 5000), ReadStatus::record);
    EXPECT_EQ(record.type, RecordType::log_line);
    EXPECT_EQ(record.payload, big);
    ASSERT_EQ(reader.read(record, 5000), ReadStatus::record);
    EXPECT_EQ(record.type, RecordType::progress_ack);
    sender.join();
    EXPECT_EQ(reader.read(record, 50), ReadStatus::timeout);

    const uint32_t header[2] = {101, kMaxRecordPayload + 1};
    ASSERT_EQ(write(fds[0], header, sizeof header), static_cast<ssize_t>(sizeof header));
    EXPECT_EQ(reader.read(record, 1000), ReadStatus::error);
    close(fds[0]);
    close(fds[1]);
}

TEST(WorkerProtocol, ReaderSeesTheEndWhenThePeerCloses) {
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    close(fds[0]);
    RecordReader reader(fds[1]);
    Record record;
    EXPECT_EQ(reader.read(record, 1000), ReadStatus::end);
    close(fds[1]);
}

struct ScaleCase {
    int width, height, want_width, want_height;
};

class PreviewScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(PreviewScale, FitsTheSmallBoxKeepingTheShape) {
    const ScaleCase c = GetParam();
    std::vector<uint8_t> rgb(static_cast<size_t>(c.width) * 3 * c.height);
    for (size_t i = 0; i < rgb.size(); ++i) {
        rgb[i] = static_cast<uint8_t>(i % 251);
    }
    const PreviewPicture picture =
        scale_to_fit(PreviewFrame{c.width, c.height, c.width * 3, rgb.data()}, 320, 240);
    EXPECT_EQ(picture.width, c.want_width);
    EXPECT_EQ(picture.height, c.want_height);
    ASSERT_EQ(picture.rgb.size(), static_cast<size_t>(c.want_width) * 3 * c.want_height);
    EXPECT_EQ(picture.rgb[0], rgb[0]);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PreviewScale,
                         ::testing::Values(ScaleCase{1920, 1080, 320, 180},
                                           ScaleCase{176, 144, 176, 144},
                                           ScaleCase{480, 576, 200, 240},
                                           ScaleCase{1000, 2, 320, 1}));

TEST(PreviewThrottle, AtMostFivePicturesASecond) {
    std::vector<uint8_t> rgb(64 * 3 * 48, 7);
    PreviewThrottle throttle;
    int taken = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000);
    while (std::chrono::steady_clock::now() < end) {
        taken += throttle.take(PreviewFrame{64, 48, 64 * 3, rgb.data()}, 3) ? 1 : 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_GE(taken, 2);
    EXPECT_LE(taken, 6);
}

}  // namespace
}  // namespace velmora::media
