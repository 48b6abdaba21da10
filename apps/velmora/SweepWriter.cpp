// The sweep's frames written on a worker thread.
#include "SweepWriter.h"

#include "engine/CMFramePng.h"
#ifdef VELMORA_DEMO_MOVIE
#include "movie/CMovieWriter.h"
#endif

#include <cstdio>
#include <filesystem>

SweepWriter::SweepWriter(std::string dir, std::string movie, int fps, std::ostream& log)
    : m_dir(std::move(dir)), m_movieFile(std::move(movie)), m_fps(fps), m_log(log) {
#ifdef VELMORA_DEMO_MOVIE
    if (!m_movieFile.empty())
        m_movie = std::make_unique<CMovieWriter>();
#else
    if (!m_movieFile.empty()) {
        m_log << "velmora: this build has no movie export (FFmpeg was not found)\n";
        m_failed = true;
    }
#endif
    m_worker = std::thread([this] { run(); });
}

SweepWriter::~SweepWriter() {
    finish();
}

bool SweepWriter::add(const std::uint32_t* rgba, int width, int height) {
    Frame f;
    f.pixels.assign(rgba, rgba + static_cast<size_t>(width) * height);
    f.width = width;
    f.height = height;
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return m_queue.size() < kMaxQueued || m_failed; });
    if (m_failed)
        return false;
    f.index = m_next++;
    m_queue.push_back(std::move(f));
    m_changed.notify_all();
    return true;
}

bool SweepWriter::finish() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_done = true;
    }
    m_changed.notify_all();
    if (m_worker.joinable())
        m_worker.join();
#ifdef VELMORA_DEMO_MOVIE
    if (m_movie && m_movie->isOpen()) {
        if (m_movie->close())
            m_log << "wrote " << m_movieFile << " (" << m_movie->framesWritten() << " frames, "
                  << m_movie->codecName() << ")\n";
        else {
            m_log << "velmora: " << m_movie->error() << "\n";
            m_failed = true;
        }
    }
#endif
    return !m_failed;
}

void SweepWriter::run() {
    for (;;) {
        Frame f;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait(lock, [&] { return !m_queue.empty() || m_done; });
            if (m_queue.empty())
                return;
            f = std::move(m_queue.front());
            m_queue.pop_front();
        }
        const bool ok = write(f);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_failed = m_failed || !ok;
        m_changed.notify_all();
        if (m_failed)
            return;
    }
}

bool SweepWriter::write(const Frame& f) {
    if (!m_dir.empty()) {
        char name[32];
        std::snprintf(name, sizeof name, "sweep-%05lld.png", f.index);
        const auto file = std::filesystem::path(m_dir) / name;
        if (!CMFramePng::write(file.string(), f.pixels.data(), f.width, f.height,
                               CMFramePng::kFast)) {
            m_log << "velmora: could not write " << file.string() << "\n";
            return false;
        }
    }
#ifdef VELMORA_DEMO_MOVIE
    if (m_movie && !((m_movie->isOpen() || m_movie->open(m_movieFile, f.width, f.height, m_fps)) &&
                     m_movie->addFrame(f.pixels.data(), f.width, f.height))) {
        m_log << "velmora: " << m_movie->error() << "\n";
        return false;
    }
#endif
    return true;
}
