// Recording of a running temperature preview: stream files (bitmap cover, then every frame's header and
// samples) and H.264 video files of the rendered frames through the preview's encoder.
#include <unistd.h>

#include <cstring>

#include "../Common/sdk_log.h"
#include "../Common/sdk_sync.h"
#include "SarvikFfmpeg.h"
#include "frame_file_format.h"
#include "temp_preview_input.h"
#include "zq_time.h"

namespace sarvik {

namespace {

int64_t recorded_pixels(const TempPreviewInput *in) {
    return static_cast<int64_t>(in->fileInfo.width) * in->fileInfo.height;
}

void close_stream_locked(TempPreviewInput *in) {
    in->flags &= ~kPreviewWritingStream;
    if (in->streamFile) std::fclose(in->streamFile);
    in->streamFile = nullptr;
}

void end_video_locked(TempPreviewInput *in) {
    if (!(in->flags.load() & kPreviewWritingVideo)) return;
    in->flags &= ~kPreviewWritingVideo;
    const int r = H264Enc_MuxEnd(in->encoder);
    if (r < 0) SDK_LOG("preview %d, H264Enc_MuxEnd error %d", in->index, r);
}

// A frame that could not be written whole is cut off again, so the frames after it stay on their
// offsets and the file keeps reading up to its last whole frame.
void drop_partial_frame(TempPreviewInput *in) {
    const int64_t whole = stream_frame_offset(recorded_pixels(in), in->streamFrames);
    std::clearerr(in->streamFile);
    if (ftruncate(fileno(in->streamFile), whole) != 0 || std::fseek(in->streamFile, whole, SEEK_SET) != 0) {
        // The file cannot be kept consistent any more: stop recording into it, it stays readable as is.
        SDK_LOG("preview %d, stream file cannot be repaired, recording ends after %lld frames", in->index,
                static_cast<long long>(in->streamFrames));
        close_stream_locked(in);
    }
}

void append_stream(TempPreviewInput *in, const _DataFrame *frame) {
    const _DataFrameHeader *h = frame->header;
    if (h->width != in->fileInfo.width || h->height != in->fileInfo.height) return;
    int rc = 0;
    if (in->streamFrames == 0) rc = stream_write_cover(in->streamFile, frame->image, recorded_pixels(in));
    if (rc == 0) rc = stream_append_frame(in->streamFile, h, frame->data);
    if (rc == 0) {
        ++in->streamFrames;
        return;
    }
    if (!in->streamErrorLogged) {
        in->streamErrorLogged = true;
        SDK_LOG("preview %d, append to stream file error %d after %lld frames", in->index, rc,
                static_cast<long long>(in->streamFrames));
    }
    drop_partial_frame(in);
}

void append_video(TempPreviewInput *in, const _DataFrame *frame) {
    uint8_t *packet = nullptr;
    int length = 0;
    int rc = H264Enc_EncFrame(in->encoder, frame->image, &packet, &length);
    if (rc == 0 && packet && length > 0) rc = H264Enc_MuxFrame(in->encoder, packet, length);
    if (rc < 0 && !in->videoErrorLogged) {
        in->videoErrorLogged = true;
        SDK_LOG("preview %d, video frame error %d", in->index, rc);
    }
}

}  // namespace

void temp_recording_prepare(TempPreviewInput *in, const PreviewSlot &slot) {
    FrameFileInfo &info = in->fileInfo;
    std::memset(&info, 0, sizeof info);
    std::memcpy(info.cameraId, slot.basicInfo.cameraId, sizeof info.cameraId);
    info.width = in->outputWidth;
    info.height = in->outputHeight;
    info.fixInfo = slot.fixInfo;
    info.dataFps = static_cast<int16_t>(slot.basicInfo.dataFps);
    info.dataRatio = static_cast<int16_t>(slot.basicInfo.dataRatio * slot.basicInfo.sendRatio);
    info.recorder = 5;
    info.version = 1;
}

int temp_recording_begin_stream(TempPreviewInput *in, const char *path) {
    if (in->flags.load() & kPreviewReconnecting) return SARVIK_ERR_STATE;
    MutexLock lock(&in->fileMutex);
    close_stream_locked(in);
    in->fileInfo.timestamp = xtime_getwin64();
    FILE *f = std::fopen(path, "wb");
    if (!f) {
        SDK_LOG("preview %d, create stream file %s failed", in->index, path);
        return SARVIK_ERR_FILE_OPEN;
    }
    std::setvbuf(f, nullptr, _IONBF, 0);
    const int rc = stream_write_prefix(f, &in->fileInfo, nullptr);
    if (rc != 0) {
        std::fclose(f);
        return rc;
    }
    in->streamFile = f;
    in->streamFrames = 0;
    in->streamErrorLogged = false;
    in->flags |= kPreviewWritingStream;
    return 0;
}

int temp_recording_begin_video(TempPreviewInput *in, const char *path) {
    if (in->flags.load() & kPreviewReconnecting) return SARVIK_ERR_STATE;
    MutexLock lock(&in->fileMutex);
    end_video_locked(in);
    const int rc = H264Enc_MuxBegin(in->encoder, path);
    if (rc != 0) {
        SDK_LOG("preview %d, H264Enc_MuxBegin %s error %d", in->index, path, rc);
        return rc;
    }
    in->videoErrorLogged = false;
    in->flags |= kPreviewWritingVideo;
    return 0;
}

void temp_recording_end_stream(TempPreviewInput *in) {
    MutexLock lock(&in->fileMutex);
    close_stream_locked(in);
}

void temp_recording_end_video(TempPreviewInput *in) {
    MutexLock lock(&in->fileMutex);
    end_video_locked(in);
}

void temp_recording_close_all(TempPreviewInput *in) {
    if (!(in->flags.load() & kPreviewMutexReady)) return;
    MutexLock lock(&in->fileMutex);
    close_stream_locked(in);
    if (in->encoder) end_video_locked(in);
}

void temp_preview_append_files(TempPreviewInput *in, const _DataFrame *frame) {
    const uint32_t flags = in->flags.load();
    if ((flags & kPreviewWritingStream) && in->streamFile) append_stream(in, frame);
    if (flags & kPreviewWritingVideo) append_video(in, frame);
}

}  // namespace sarvik
