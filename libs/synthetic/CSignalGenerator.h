// The signals of the synthetic recording: source time courses per epoch, their spatial
// spread over the sensors, and 1/f noise per channel. Everything follows from the seed.
#pragma once

#include <array>
#include <vector>

class CSignalGenerator {
public:
    using Vec = std::array<double, 3>;

    struct Timing {
        int epochs = 0;
        int samples = 0;
        double rateHz = 0.0;
        double firstLatencyMs = 0.0;
    };

    CSignalGenerator(unsigned long long seed, const Timing& timing);

    // Draw every source's time course for all epochs of one trial.
    void prepareTrial(int trial);
    // All epochs of one channel, one after another, in source units. `direction` is the unit
    // vector from the head centre to the sensor.
    void channelSamples(int channel, const Vec& direction, double unitScale,
                        std::vector<double>& out) const;

    static constexpr int kSourceCount = 4;

private:
    void pinkNoise(unsigned long long stream, std::vector<double>& out) const;

    unsigned long long m_seed;
    Timing m_timing;
    int m_trial = 0;
    // Source s, epoch e, sample i at [s][e * samples + i].
    std::array<std::vector<double>, kSourceCount> m_courses;
};
