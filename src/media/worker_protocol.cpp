#include "media/worker_protocol.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velmora::media {
namespace {

// Writes all bytes; sockets never raise SIGPIPE, plain pipes fall back to write().
bool write_all(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == ENOTSOCK) {
            n = ::write(fd, data, size);
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

constexpr size_t kHeaderSize = 8;

}  // namespace

bool RecordWriter::write(RecordType type, const std::string& payload) {
    std::string bytes(kHeaderSize, '\0');
    const auto type_value = static_cast<uint32_t>(type);
    const auto length = static_cast<uint32_t>(payload.size());
    std::memcpy(bytes.data(), &type_value, 4);
    std::memcpy(bytes.data() + 4, &length, 4);
    bytes += payload;
    std::lock_guard lock(mutex_);
    return write_all(fd_, bytes.data(), bytes.size());
}

bool RecordReader::take_buffered(Record& record, bool& broken) {
    if (buffer_.size() < kHeaderSize) {
        return false;
    }
    uint32_t type_value = 0;
    uint32_t length = 0;
    std::memcpy(&type_value, buffer_.data(), 4);
    std::memcpy(&length, buffer_.data() + 4, 4);
    if (length > kMaxRecordPayload) {
        broken = true;
        return false;
    }
    if (buffer_.size() < kHeaderSize + length) {
        return false;
    }
    record.type = static_cast<RecordType>(type_value);
    record.payload.assign(buffer_, kHeaderSize, length);
    buffer_.erase(0, kHeaderSize + length);
    return true;
}

ReadStatus RecordReader::read(Record& record, int timeout_ms) {
    for (;;) {
        bool broken = false;
        if (take_buffered(record, broken)) {
            return ReadStatus::record;
        }
        if (broken) {
            return ReadStatus::error;
        }
        pollfd p{fd_, POLLIN, 0};
        const int ready = poll(&p, 1, timeout_ms);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return ReadStatus::error;
        }
        if (ready == 0) {
            return ReadStatus::timeout;
        }
        char chunk[65536];
        const ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                continue;
            }
            return errno == ECONNRESET ? ReadStatus::end : ReadStatus::error;
        }
        if (n == 0) {
            return ReadStatus::end;
        }
        buffer_.append(chunk, static_cast<size_t>(n));
    }
}

void PayloadWriter::put_bytes(const void* data, size_t size) {
    data_.append(static_cast<const char*>(data), size);
}
void PayloadWriter::put_i32(int32_t value) {
    put_bytes(&value, sizeof value);
}
void PayloadWriter::put_i64(int64_t value) {
    put_bytes(&value, sizeof value);
}
void PayloadWriter::put_f32(float value) {
    put_bytes(&value, sizeof value);
}
void PayloadWriter::put_string(const std::string& text) {
    put_i32(static_cast<int32_t>(text.size()));
    put_bytes(text.data(), text.size());
}

bool PayloadReader::take(void* out, size_t size) {
    if (!ok_ || data_.size() - pos_ < size) {
        ok_ = false;
        std::memset(out, 0, size);
        return false;
    }
    std::memcpy(out, data_.data() + pos_, size);
    pos_ += size;
    return true;
}
int32_t PayloadReader::get_i32() {
    int32_t value = 0;
    take(&value, sizeof value);
    return value;
}
int64_t PayloadReader::get_i64() {
    int64_t value = 0;
    take(&value, sizeof value);
    return value;
}
float PayloadReader::get_f32() {
    float value = 0;
    take(&value, sizeof value);
    return value;
}
std::string PayloadReader::get_string() {
    const int32_t size = get_i32();
    if (!ok_ || size < 0 || static_cast<size_t>(size) > data_.size() - pos_) {
        ok_ = false;
        return {};
    }
    std::string text(data_, pos_, static_cast<size_t>(size));
    pos_ += static_cast<size_t>(size);
    return text;
}

std::string encode_task(const WorkerTask& task) {
    PayloadWriter w;
    const TInputOptions& in = task.input;
    w.put_string(in.FileName);
    w.put_string(in.FileFormat);
    w.put_i64(in.TimeStart_us);
    w.put_i32(in.ProgramIndex);
    const TOutputOptions& out = task.output;
    w.put_string(out.FileName);
    w.put_string(out.FileExt);
    w.put_string(out.FileFormat);
    w.put_string(out.AudioCodec);
    w.put_i32(out.AudioChannels);
    w.put_i32(out.AudioSampleRate);
    w.put_i32(out.AudioBitrate);
    w.put_i32(out.AudioVolume);
    w.put_string(out.AudioLanguage);
    w.put_string(out.VideoCodec);
    w.put_string(out.VideoPreset);
    w.put_string(out.VideoTag);
    w.put_string(out.FrameSize);
    w.put_i32(out.VideoBitrate);
    w.put_string(out.FrameRate);
    w.put_string(out.FrameAspectRatio);
    w.put_bool(out.DisableVideo);
    w.put_i32(static_cast<int32_t>(out.TargetType));
    w.put_i32(static_cast<int32_t>(out.NormType));
    w.put_string(out.VideoFilters);
    w.put_i64(out.TimeStart_us);
    w.put_i64(out.TimeLength_us);
    w.put_string(task.env.libav_dir);
    w.put_i32(task.task_index);
    w.put_i32(static_cast<int32_t>(task.priority));
    w.put_bool(task.start_paused);
    w.put_bool(task.preview);
    w.put_i32(task.progress_interval_ms);
    return w.data();
}

bool decode_task(const std::string& payload, WorkerTask& task) {
    PayloadReader r(payload);
    TInputOptions& in = task.input;
    in.FileName = r.get_string();
    in.FileFormat = r.get_string();
    in.TimeStart_us = r.get_i64();
    in.ProgramIndex = r.get_i32();
    TOutputOptions& out = task.output;
    out.FileName = r.get_string();
    out.FileExt = r.get_string();
    out.FileFormat = r.get_string();
    out.AudioCodec = r.get_string();
    out.AudioChannels = r.get_i32();
    out.AudioSampleRate = r.get_i32();
    out.AudioBitrate = r.get_i32();
    out.AudioVolume = r.get_i32();
    out.AudioLanguage = r.get_string();
    out.VideoCodec = r.get_string();
    out.VideoPreset = r.get_string();
    out.VideoTag = r.get_string();
    out.FrameSize = r.get_string();
    out.VideoBitrate = r.get_i32();
    out.FrameRate = r.get_string();
    out.FrameAspectRatio = r.get_string();
    out.DisableVideo = r.get_bool();
    const int32_t target = r.get_i32();
    const int32_t norm = r.get_i32();
    out.TargetType = target >= 0 && target <= 3 ? static_cast<TOptionTargetType>(target)
                                                : TOptionTargetType::ttIgnore;
    out.NormType =
        norm >= 0 && norm <= 2 ? static_cast<TOptionNormType>(norm) : TOptionNormType::ntAuto;
    out.VideoFilters = r.get_string();
    out.TimeStart_us = r.get_i64();
    out.TimeLength_us = r.get_i64();
    task.env.libav_dir = r.get_string();
    task.task_index = r.get_i32();
    const int32_t priority = r.get_i32();
    task.priority = priority >= 0 && priority <= 3 ? static_cast<TThreadPriority>(priority)
                                                   : TThreadPriority::tpNormal;
    task.start_paused = r.get_bool();
    task.preview = r.get_bool();
    task.progress_interval_ms = r.get_i32();
    return r.ok() && r.at_end();
}

std::string encode_progress(const TProgressInfo& info) {
    PayloadWriter w;
    w.put_i32(info.TaskIndex);
    w.put_i32(info.FileIndex);
    w.put_i32(info.FrameNumber);
    w.put_i32(info.FPS);
    w.put_f32(info.Quality);
    w.put_f32(info.BitRate);
    w.put_i64(info.CurrentSize);
    w.put_i64(info.CurrentDuration);
    w.put_i64(info.TotalDuration);
    return w.data();
}

bool decode_progress(const std::string& payload, TProgressInfo& info) {
    PayloadReader r(payload);
    info.TaskIndex = r.get_i32();
    info.FileIndex = r.get_i32();
    info.FrameNumber = r.get_i32();
    info.FPS = r.get_i32();
    info.Quality = r.get_f32();
    info.BitRate = r.get_f32();
    info.CurrentSize = r.get_i64();
    info.CurrentDuration = r.get_i64();
    info.TotalDuration = r.get_i64();
    return r.ok() && r.at_end();
}

std::string encode_log_line(const LogLine& line) {
    PayloadWriter w;
    w.put_i64(line.thread_id);
    w.put_i32(line.level);
    w.put_string(line.text);
    return w.data();
}

bool decode_log_line(const std::string& payload, LogLine& line) {
    PayloadReader r(payload);
    line.thread_id = r.get_i64();
    line.level = r.get_i32();
    line.text = r.get_string();
    return r.ok() && r.at_end() && line.level >= 0 && line.level <= 7;
}

std::string encode_preview(const PreviewPicture& picture) {
    PayloadWriter w;
    w.put_i32(picture.task_index);
    w.put_i32(picture.width);
    w.put_i32(picture.height);
    w.put_bytes(picture.rgb.data(), picture.rgb.size());
    return w.data();
}

bool decode_preview(const std::string& payload, PreviewPicture& picture) {
    PayloadReader r(payload);
    picture.task_index = r.get_i32();
    picture.width = r.get_i32();
    picture.height = r.get_i32();
    if (!r.ok() || picture.width <= 0 || picture.height <= 0 || picture.width > 4096 ||
        picture.height > 4096) {
        return false;
    }
    const size_t size = static_cast<size_t>(picture.width) * 3 * picture.height;
    if (payload.size() != 12 + size) {
        return false;
    }
    picture.rgb.assign(payload.begin() + 12, payload.end());
    return true;
}

std::string encode_result(const TranscodeResult& result) {
    PayloadWriter w;
    w.put_bool(result.finished);
    w.put_bool(result.stopped);
    w.put_bool(result.failed);
    w.put_string(result.error_text);
    return w.data();
}

bool decode_result(const std::string& payload, TranscodeResult& result) {
    PayloadReader r(payload);
    result.finished = r.get_bool();
    result.stopped = r.get_bool();
    result.failed = r.get_bool();
    result.error_text = r.get_string();
    return r.ok() && r.at_end();
}

}  // namespace velmora::media
