// The time grid of the spectra computed from epochs of one timing: every k-th sample, k the
// time step rounded to whole samples, aligned so that the sample nearest latency 0 is a grid
// point. Cheap to make: the checks of a builder call use it without planning any transform.
#pragma once

class CSpctmGrid {
public:
    // A run of grid points: first grid index and count (0 when empty).
    struct Window {
        long long first = 0;
        long long count = 0;
    };

    CSpctmGrid() = default;
    // rate, latency and sample count must be valid (finite rate above 0, nSamples >= 1).
    CSpctmGrid(double samplingRateHz, double firstLatencyMs, long long nSamples, double stepMs);

    // Decimation step in samples and the buffer index of epoch sample 0.
    long long getStep() const { return m_k; }
    long long getOffset() const { return m_off; }
    double getStepMs() const { return 1000.0 * static_cast<double>(m_k) / m_rate; }
    // Grid points whose latency lies in [startMs, endMs] (inside the epoch).
    Window window(double startMs, double endMs) const;
    double gridLatencyMs(long long gridIndex) const;

private:
    double m_rate = 1.0;
    double m_firstLatencyMs = 0.0;
    long long m_nSamples = 0;
    long long m_k = 1;
    long long m_off = 0;
};
