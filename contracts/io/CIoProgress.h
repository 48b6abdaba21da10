// Progress of a long read, so that a host can draw a progress bar and offer to cancel.
#pragma once

#include <functional>

struct CIoProgress {
    enum class Stage {
        Reading,  // samples or arrays read from the file: epochs (or arrays) done of total
        Channels, // channels handed to the data set: done of total
    };
    // Called with the stage and `done` of `total` steps (done == total when the stage ends).
    // Return false to cancel: the read then fails with "cancelled" and changes nothing.
    using Callback = std::function<bool(Stage stage, long long done, long long total)>;
};
