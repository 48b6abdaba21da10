// Group record of one spectrum trial and data component: six grids over all channels.
#pragma once

#include <vector>

// Each grid has nTime rows of nFreq values, value(t, f) at t * nFreq + f. At every point the
// statistics run over the channels whose value there is finite; a point without any finite
// channel value holds NaN. Display choices 2, 1, 3, 4, 5, 6 read the grids in field order.
class CSumChnlSpctmDatazq {
public:
    long long nTime = 0;
    long long nFreq = 0;
    double* pMin = nullptr;    // "Group Min"
    double* pMean = nullptr;   // "Group Mean"
    double* pMax = nullptr;    // "Group Max"
    double* pAvgPos = nullptr; // "Average Positive": mean of the values above 0 (0 when none)
    double* pAvgNeg = nullptr; // "Average Negative": mean of the values below 0 (0 when none)
    double* pRms = nullptr;    // "Root-Mean-Square"

    CSumChnlSpctmDatazq() = default;
    // The grid pointers point into the record's own storage, so it is neither copied nor moved.
    CSumChnlSpctmDatazq(const CSumChnlSpctmDatazq&) = delete;
    CSumChnlSpctmDatazq& operator=(const CSumChnlSpctmDatazq&) = delete;

    // Size all six grids (zero-filled); 0 for counts below 1, overflow or no memory (then empty).
    int resize(long long nTimePoints, long long nFreqPoints);
    // Back to empty: counts 0, pointers null.
    void clear();
    // Exchange contents with another record (the pointers follow their storage).
    void swap(CSumChnlSpctmDatazq& other) noexcept;
    // The grid of display choice 1..6, null for other choices or an empty record.
    double* getGrid4Show(int showSource) const;

private:
    std::vector<double> m_store;
};
