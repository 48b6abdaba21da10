// A readable text summary of a data set: channels by type, trials, the time and frequency
// axes of the spectra and the value range of every spectral class.
#pragma once

#include <iosfwd>

class CArrayMEDataSetzq;

class CRecordingSummary {
public:
    // Writes the summary of the current session; 0 when there is no session or trial.
    static int print(CArrayMEDataSetzq& data, std::ostream& out);
};
