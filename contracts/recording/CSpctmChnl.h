// One channel's spectrum of one spectral class: a grid per data component.
#pragma once

#include <vector>

class CSpctmChnl {
public:
    // The grid of component 0 (real), 1 (imaginary) or 2 (power), null when the component is
    // out of range or the spectrum is empty. nTime and nFreq (either may be null) receive the
    // counts, also when the result is null.
    double* getSpctmDataPtr(int component, long long* nTime, long long* nFreq);
    const double* getSpctmDataPtr(int component, long long* nTime, long long* nFreq) const;

    long long getTimeCount() const { return m_nTime; }
    long long getFreqCount() const { return m_nFreq; }
    bool isEmpty() const { return m_nTime < 1 || m_nFreq < 1; }

    // Size the three grids, zero-filled; 0 for counts below 1, overflow or no memory (then
    // empty).
    int resize(long long nTime, long long nFreq);
    void clear();
    void swap(CSpctmChnl& other) noexcept;

private:
    long long m_nTime = 0;
    long long m_nFreq = 0;
    std::vector<double> m_grid[3];
};
