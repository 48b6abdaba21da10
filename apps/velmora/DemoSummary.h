// A readable account of a data set: channels and sensor kinds, trials, the time and frequency
// axes of the spectra and the value range of every spectral class and data component.
#pragma once

#include <ostream>

class CArrayMEDataSetzq;

void printRecordingSummary(CArrayMEDataSetzq& data, std::ostream& out);
