// The records the encoder object and its worker processes exchange over their socket: a type,
// a payload length and the payload, all little-endian as the machine writes them (both ends are
// the same executable).
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "media/options.h"
#include "media/transcode.h"

namespace velmora::media {

enum class RecordType : uint32_t {
    // encoder object to worker
    task = 1,          // the task to convert (WorkerTask)
    progress_ack = 2,  // the progress handler ran; the worker goes on
    pause = 3,
    resume = 4,
    stop = 5,
    preview_on = 6,
    preview_off = 7,
    // worker to encoder object
    progress = 100,       // TProgressInfo; the worker waits for progress_ack
    log_line = 101,       // thread id, level 0..7, text
    preview_frame = 102,  // small RGB24 picture
    result = 103,         // TranscodeResult; the last record of a worker
};

struct Record {
    RecordType type = RecordType::task;
    std::string payload;
};

// Largest payload accepted; anything bigger is a broken peer.
inline constexpr uint32_t kMaxRecordPayload = 64u << 20;

// Writes whole records to a descriptor; safe to use from several threads.
class RecordWriter {
  public:
    explicit RecordWriter(int fd) : fd_(fd) {}
    // False when the peer is gone.
    bool write(RecordType type, const std::string& payload = {});

  private:
    int fd_;
    std::mutex mutex_;
};

enum class ReadStatus { record, end, timeout, error };

// Reads records from a descriptor, one thread at a time.
class RecordReader {
  public:
    explicit RecordReader(int fd) : fd_(fd) {}
    // timeout_ms < 0 waits without limit.
    ReadStatus read(Record& record, int timeout_ms = -1);

  private:
    bool take_buffered(Record& record, bool& broken);
    int fd_;
    std::string buffer_;
};

// Field-by-field payload encoding.
class PayloadWriter {
  public:
    void put_i32(int32_t value);
    void put_i64(int64_t value);
    void put_f32(float value);
    void put_bool(bool value) { put_i32(value ? 1 : 0); }
    void put_string(const std::string& text);
    void put_bytes(const void* data, size_t size);
    const std::string& data() const { return data_; }

  private:
    std::string data_;
};

class PayloadReader {
  public:
    explicit PayloadReader(const std::string& data) : data_(data) {}
    int32_t get_i32();
    int64_t get_i64();
    float get_f32();
    bool get_bool() { return get_i32() != 0; }
    std::string get_string();
    // True while every read so far found its bytes.
    bool ok() const { return ok_; }
    bool at_end() const { return pos_ == data_.size(); }

  private:
    bool take(void* out, size_t size);
    const std::string& data_;
    size_t pos_ = 0;
    bool ok_ = true;
};

// Everything a worker needs for its one task.
struct WorkerTask {
    TInputOptions input;
    TOutputOptions output;
    EngineEnvironment env;
    int task_index = 0;
    TThreadPriority priority = TThreadPriority::tpNormal;
    bool start_paused = false;
    bool preview = false;
    int progress_interval_ms = 500;
};

// A picture for the live preview as it travels: owned pixels.
struct PreviewPicture {
    int task_index = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // width * 3 bytes per line
};

// A line for the diagnostic log.
struct LogLine {
    int64_t thread_id = 0;
    int level = 5;  // 0..7: quiet, panic, fatal, error, warning, info, verbose, debug
    std::string text;
};

std::string encode_task(const WorkerTask& task);
bool decode_task(const std::string& payload, WorkerTask& task);
std::string encode_progress(const TProgressInfo& info);
bool decode_progress(const std::string& payload, TProgressInfo& info);
std::string encode_log_line(const LogLine& line);
bool decode_log_line(const std::string& payload, LogLine& line);
std::string encode_preview(const PreviewPicture& picture);
bool decode_preview(const std::string& payload, PreviewPicture& picture);
std::string encode_result(const TranscodeResult& result);
bool decode_result(const std::string& payload, TranscodeResult& result);

}  // namespace velmora::media
