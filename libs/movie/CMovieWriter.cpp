// Movie export through FFmpeg: frames are converted to YUV 4:2:0 by libswscale, encoded by
// libavcodec (an H.264 encoder at a fast preset when one opens, else mpeg4) and muxed by
// libavformat into the container the file name asks for.
#include "movie/CMovieWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Beyond this the encoders' time bases run out; no display animates faster.
constexpr int kMaxFps = 1000;
// Quality settings: x264's constant rate factor and mpeg4's fixed quantiser (lower is better).
constexpr const char* kH264Preset = "veryfast";
constexpr const char* kH264Crf = "20";
constexpr int kMpeg4Quantiser = 3;

std::string avError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

std::string sizeText(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// H.264 encoders first, libx264 preferred; mpeg4 last. An encoder that cannot take yuv420p
// frames from memory (a hardware one) fails to open and the next is tried.
std::vector<const AVCodec*> availableEncoders() {
    std::vector<const AVCodec*> list;
    for (const AVCodec* codec :
         {avcodec_find_encoder_by_name("libx264"), avcodec_find_encoder(AV_CODEC_ID_H264),
          avcodec_find_encoder(AV_CODEC_ID_MPEG4)}) {
        if (codec && std::find(list.begin(), list.end(), codec) == list.end())
            list.push_back(codec);
    }
    return list;
}

// The encoders whose codec the container takes: those it confirms first, then those it cannot
// judge (stream formats such as MPEG-TS); those it refuses are dropped.
std::vector<const AVCodec*> encodersFor(const AVOutputFormat* container,
                                        std::vector<const AVCodec*> encoders) {
    const auto verdict = [container](const AVCodec* codec) {
        return avformat_query_codec(container, codec->id, FF_COMPLIANCE_NORMAL);
    };
    std::erase_if(encoders, [&](const AVCodec* codec) { return verdict(codec) == 0; });
    std::stable_partition(encoders.begin(), encoders.end(),
                          [&](const AVCodec* codec) { return verdict(codec) == 1; });
    return encoders;
}

} // namespace

class CMovieWriterImpl {
public:
    ~CMovieWriterImpl() { release(); }

    bool fail(std::string message) {
        error = std::move(message);
        return false;
    }
    bool writesFile() const { return !(format->oformat->flags & AVFMT_NOFILE); }

    bool openEncoder(int fps);
    bool encode(const AVFrame* picture);
    void release();

    AVFormatContext* format = nullptr;
    AVCodecContext* encoder = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* scaler = nullptr;
    std::string path;
    int width = 0, height = 0; // as given to open; the encoder's are rounded down to even
    std::string error, codec;
    long long frames = 0;
};

// Opens the first encoder that the container takes and that accepts the settings.
bool CMovieWriterImpl::openEncoder(int fps) {
    const std::vector<const AVCodec*> available = availableEncoders();
    if (available.empty())
        return fail("no H.264 or MPEG-4 encoder in this FFmpeg build");
    const std::vector<const AVCodec*> candidates = encodersFor(format->oformat, available);
    if (candidates.empty())
        return fail("the " + std::string(format->oformat->name) +
                    " format takes neither H.264 nor MPEG-4 video");
    std::string reason;
    for (const AVCodec* candidate : candidates) {
        encoder = avcodec_alloc_context3(candidate);
        if (!encoder)
            return fail("out of memory for the movie encoder");
        encoder->width = width & ~1;
        encoder->height = height & ~1;
        encoder->pix_fmt = AV_PIX_FMT_YUV420P;
        encoder->time_base = {1, fps};
        encoder->framerate = {fps, 1};
        // libswscale's default conversion: BT.601 coefficients, limited range.
        encoder->colorspace = AVCOL_SPC_SMPTE170M;
        encoder->color_range = AVCOL_RANGE_MPEG;
        // One level down for the encoder's messages: its statistics become verbose chatter
        // while its warnings and errors still show.
        encoder->log_level_offset = AV_LOG_VERBOSE - AV_LOG_INFO;
        if (format->oformat->flags & AVFMT_GLOBALHEADER)
            encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        AVDictionary* options = nullptr;
        if (candidate->id == AV_CODEC_ID_H264) {
            av_dict_set(&options, "preset", kH264Preset, 0);
            av_dict_set(&options, "crf", kH264Crf, 0);
        } else {
            encoder->flags |= AV_CODEC_FLAG_QSCALE;
            encoder->global_quality = FF_QP2LAMBDA * kMpeg4Quantiser;
        }
        const int ret = avcodec_open2(encoder, candidate, &options);
        av_dict_free(&options);
        if (ret >= 0)
            return true;
        reason = "cannot open the " + std::string(candidate->name) + " encoder: " + avError(ret);
        avcodec_free_context(&encoder);
    }
    return fail(reason);
}

// Sends a picture to the encoder (null to flush it) and writes every packet that comes out.
bool CMovieWriterImpl::encode(const AVFrame* picture) {
    int ret = avcodec_send_frame(encoder, picture);
    if (ret < 0)
        return fail("the " + codec + " encoder failed: " + avError(ret));
    while ((ret = avcodec_receive_packet(encoder, packet)) >= 0) {
        av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
        packet->stream_index = stream->index;
        ret = av_interleaved_write_frame(format, packet);
        if (ret < 0)
            return fail("cannot write movie file " + path + ": " + avError(ret));
    }
    if (ret != AVERROR(EAGAIN) && ret != AVERROR_EOF)
        return fail("the " + codec + " encoder failed: " + avError(ret));
    return true;
}

void CMovieWriterImpl::release() {
    sws_freeContext(scaler);
    scaler = nullptr;
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&encoder);
    if (format) {
        if (writesFile())
            avio_closep(&format->pb);
        avformat_free_context(format);
        format = nullptr;
    }
    stream = nullptr;
}

CMovieWriter::CMovieWriter() : m_impl(std::make_unique<CMovieWriterImpl>()) {}

CMovieWriter::~CMovieWriter() {
    close();
}

bool CMovieWriter::open(const std::string& path, int width, int height, int fps) {
    CMovieWriterImpl& m = *m_impl;
    if (isOpen())
        return m.fail("cannot open " + path + ": movie file " + m.path + " is still open");
    if (width < 2 || height < 2)
        return m.fail("cannot make a movie of " + sizeText(width, height) +
                      " pixels (at least 2x2 needed)");
    if (av_image_check_size(width & ~1, height & ~1, 0, nullptr) < 0)
        return m.fail("a movie of " + sizeText(width, height) + " pixels is too large");
    if (fps < 1 || fps > kMaxFps)
        return m.fail("cannot make a movie at " + std::to_string(fps) +
                      " frames per second (1 to " + std::to_string(kMaxFps) + ")");

    m.path = path;
    m.width = width;
    m.height = height;
    if (avformat_alloc_output_context2(&m.format, nullptr, nullptr, path.c_str()) < 0 || !m.format)
        return m.fail("cannot tell a movie format from the file name " + path +
                      " (use .mp4, .mkv or .avi)");
    if (!m.openEncoder(fps)) {
        m.release();
        return false;
    }
    const auto abandon = [&m](std::string message) {
        m.release();
        return m.fail(std::move(message));
    };
    m.stream = avformat_new_stream(m.format, nullptr);
    m.frame = av_frame_alloc();
    m.packet = av_packet_alloc();
    if (!m.stream || !m.frame || !m.packet)
        return abandon("out of memory for the movie");
    int ret = avcodec_parameters_from_context(m.stream->codecpar, m.encoder);
    if (ret < 0)
        return abandon("cannot set up the movie stream: " + avError(ret));
    m.stream->time_base = m.encoder->time_base;
    m.stream->avg_frame_rate = m.encoder->framerate;

    m.frame->format = m.encoder->pix_fmt;
    m.frame->width = m.encoder->width;
    m.frame->height = m.encoder->height;
    ret = av_frame_get_buffer(m.frame, 0);
    if (ret < 0)
        return abandon("cannot allocate a movie frame: " + avError(ret));
    // The engine's pixels are uint32s with red in the low byte: BGR32 in FFmpeg's native-endian
    // naming. The scaler reads the even-sized top-left part of each frame.
    m.scaler = sws_getContext(m.encoder->width, m.encoder->height, AV_PIX_FMT_BGR32,
                              m.encoder->width, m.encoder->height, m.encoder->pix_fmt, SWS_BILINEAR,
                              nullptr, nullptr, nullptr);
    if (!m.scaler)
        return abandon("cannot set up the conversion of frames to YUV");

    if (m.writesFile()) {
        ret = avio_open(&m.format->pb, path.c_str(), AVIO_FLAG_WRITE);
        if (ret < 0)
            return abandon("cannot create movie file " + path + ": " + avError(ret));
    }
    // MP4 and MOV put their index first so that players start at once; others ignore it.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "movflags", "+faststart", 0);
    ret = avformat_write_header(m.format, &options);
    av_dict_free(&options);
    if (ret < 0)
        return abandon("cannot write movie file " + path + ": " + avError(ret));
    m.codec = m.encoder->codec->name;
    m.frames = 0;
    return true;
}

bool CMovieWriter::addFrame(const std::uint32_t* rgba, int width, int height) {
    CMovieWriterImpl& m = *m_impl;
    if (!isOpen())
        return m.fail("cannot add a frame: no movie file is open");
    if (!rgba)
        return m.fail("cannot add a frame to " + m.path + ": no pixels given");
    if (width != m.width || height != m.height)
        return m.fail("cannot add a frame of " + sizeText(width, height) + " to " + m.path +
                      ", whose frames are " + sizeText(m.width, m.height));
    const int ret = av_frame_make_writable(m.frame);
    if (ret < 0)
        return m.fail("cannot allocate a movie frame: " + avError(ret));
    const std::uint8_t* source[1] = {reinterpret_cast<const std::uint8_t*>(rgba)};
    const int stride[1] = {width * 4};
    sws_scale(m.scaler, source, stride, 0, m.frame->height, m.frame->data, m.frame->linesize);
    m.frame->pts = m.frames;
    if (!m.encode(m.frame))
        return false;
    ++m.frames;
    return true;
}

bool CMovieWriter::close() {
    CMovieWriterImpl& m = *m_impl;
    if (!isOpen())
        return true;
    bool ok = m.encode(nullptr);
    int ret = av_write_trailer(m.format);
    if (ret < 0 && ok)
        ok = m.fail("cannot finish movie file " + m.path + ": " + avError(ret));
    if (m.writesFile()) {
        ret = avio_closep(&m.format->pb);
        if (ret < 0 && ok)
            ok = m.fail("cannot write movie file " + m.path + ": " + avError(ret));
    }
    m.release();
    return ok;
}

bool CMovieWriter::isOpen() const {
    return m_impl->format != nullptr;
}

const std::string& CMovieWriter::error() const {
    return m_impl->error;
}

std::string CMovieWriter::codecName() const {
    return m_impl->codec;
}

long long CMovieWriter::framesWritten() const {
    return m_impl->frames;
}
