// Planar gradiometers that share a place (the two of a Neuromag triplet): a map of planar
// gradiometers shows one value per place, combined from both.
#pragma once

#include <vector>

class CMDTrialzq;

class CGradPairs {
public:
    // Places closer than this (metres) are one place.
    static constexpr double kSamePlace = 1e-3;

    // Finds the pairs among the trial's channels: two planar gradiometers whose coil 0 lies
    // within kSamePlace. Null: no pairs.
    void update(CMDTrialzq* trial);
    // The other planar gradiometer at channel i's place; -1 when it has none.
    int partnerOf(int i) const;
    // The place's value from the two window means: for power the mean of the two means
    // (power adds, amplitudes do not), for signed components their root mean square.
    static double combine(double a, double b, int component);

private:
    std::vector<int> m_partner;
};
