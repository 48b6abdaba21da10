// What every reader promises, checked after each fuzz input: a refusal is one line of
// printable text and leaves the target as it was; what is accepted is sound. A broken promise
// aborts, so that libFuzzer keeps the input.
#pragma once

#include "recording/CArrayMEDataSetzq.h"

#include <string>

class FuzzPromise {
public:
    // Abort with `what` unless `holds`.
    static void require(bool holds, const char* what);
    // A refusal's message: not empty, one line, UTF-8 without control characters.
    static void requireMessage(const std::string& message);

    // A data set an import must leave alone when it refuses: one session holding one trial
    // with one channel "sentinel".
    static void fillSentinel(CArrayMEDataSetzq& data);
    static void requireSentinel(CArrayMEDataSetzq& data);

    // Builds `target` (filled with the sentinel first) through an import (CEpochImport,
    // CSpectraImport); on refusal requires the message and the sentinel and returns false.
    template <class Import>
    static bool build(Import& import, CArrayMEDataSetzq& target) {
        fillSentinel(target);
        const auto result = import.build(target);
        if (!result) {
            requireMessage(result.message);
            requireSentinel(target);
        }
        return static_cast<bool>(result);
    }

    // An accepted import: one session, one trial of `channels` channels, each with a label and
    // a finite position; with nFreq > 0, each holds a spectrum of the class of nTime x nFreq.
    static void requireSound(CArrayMEDataSetzq& data, std::size_t channels, int spectralClass,
                             long long nTime, long long nFreq);
};
