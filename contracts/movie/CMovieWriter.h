// Encodes a series of RGBA frames into a video file (H.264 or MPEG-4 video in the container the
// file name asks for), for turning an animation sweep into a movie. FFmpeg stays inside the
// library.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class CMovieWriterImpl;

class CMovieWriter {
public:
    CMovieWriter();
    ~CMovieWriter();
    CMovieWriter(const CMovieWriter&) = delete;
    CMovieWriter& operator=(const CMovieWriter&) = delete;

    // Opens path for frames of width x height at fps (1 to 1000) frames per second. The container
    // follows the file name (.mp4, .mkv, .avi ...); the codec is H.264 when an encoder for it is
    // available, else MPEG-4 video ("mpeg4"). Odd sizes are rounded down to even (the encoders need
    // even sizes) and frames are cropped by their last column or row accordingly. false with
    // error() on failure, also while another movie is open.
    bool open(const std::string& path, int width, int height, int fps);
    // One frame: RGBA pixels (red in bits 0-7 of each uint32, as the engine's frames come), rows
    // top to bottom, of the size given to open (a frame of another size is refused with an
    // error).
    bool addFrame(const std::uint32_t* rgba, int width, int height);
    // Flushes the encoder and writes the file trailer; also done by the destructor. Returns false
    // on a write error; true when nothing is open.
    bool close();
    bool isOpen() const;

    // Why the last call failed, for a person to read.
    const std::string& error() const;
    // The encoder of the last movie opened, e.g. "libx264" or "mpeg4"; "" before any.
    std::string codecName() const;
    // Frames given to the encoder since the last open; kept after close.
    long long framesWritten() const;

private:
    std::unique_ptr<CMovieWriterImpl> m_impl;
};
