// Where the channels of a file get their sensor positions.
#pragma once

#include <string>
#include <vector>

struct CMontageOptions {
    // Layouts searched in order, the first whose label matches (case-insensitively) wins: a
    // layout compiled into the probes library ("meg306-neuromag", "ctf274", "eeg64-biosemi"),
    // "eeg1010" for the 10-10 electrodes on a head sphere, or the path of any layout file the
    // probes library reads.
    std::vector<std::string> layouts = {"eeg1010"};
    // Channels with no position in any layout: false refuses the read and names them all; true
    // leaves them out (CEpochImport::Report and CSpectraImport::Report name them).
    bool dropUnplaced = false;
};
