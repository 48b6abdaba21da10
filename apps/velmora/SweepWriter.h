// Writes the frames of a contour-map sweep (numbered PNG files, a movie, or both) on a worker
// thread, so that the next frame is drawn while the last one is encoded.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

class CMovieWriter;

class SweepWriter {
public:
    // Frames waiting for the worker at most; the drawing waits beyond that.
    static constexpr size_t kMaxQueued = 4;

    // dir empty: no PNG files; movie empty: no movie. Messages go to log.
    SweepWriter(std::string dir, std::string movie, int fps, std::ostream& log);
    ~SweepWriter();
    SweepWriter(const SweepWriter&) = delete;
    SweepWriter& operator=(const SweepWriter&) = delete;

    // Queues a copy of the frame (RGBA, red in bits 0-7, top row first). false once a write
    // has failed: the sweep should stop.
    bool add(const std::uint32_t* rgba, int width, int height);
    // Waits until every queued frame is written and closes the movie; false when a write
    // failed.
    bool finish();

private:
    struct Frame {
        std::vector<std::uint32_t> pixels;
        int width = 0, height = 0;
        long long index = 0;
    };
    void run();
    bool write(const Frame& f);

    std::string m_dir;
    std::string m_movieFile;
    int m_fps;
    std::ostream& m_log;
    std::unique_ptr<CMovieWriter> m_movie;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Frame> m_queue;
    long long m_next = 0;
    bool m_done = false;
    bool m_failed = false;
    std::thread m_worker;
};
