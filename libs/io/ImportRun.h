// What the importers share: they build into a data set of their own and move it into the
// host's only when everything succeeded, so that a failure leaves the host's data set as it
// was; running out of memory on the way is a message, not a crash.
#pragma once

#include "IoText.h"
#include "io/CIoResult.h"
#include "recording/CArrayMEDataSetzq.h"

#include <new>
#include <utility>

namespace import_run {

// fill(built) fills a fresh data set; target takes it when fill succeeds.
template <class Fill>
CIoResult moveInto(CArrayMEDataSetzq& target, Fill&& fill) {
    CArrayMEDataSetzq built;
    if (CIoResult r = fill(built); !r) {
        return r;
    }
    target = std::move(built);
    return {};
}

// Runs Run(options, report).run(target); report is written only on success.
template <class Run, class Options, class Report>
CIoResult run(const Options& options, Report& report, CArrayMEDataSetzq& target) {
    Report fresh;
    try {
        Run importRun(options, fresh);
        if (CIoResult r = importRun.run(target); !r) {
            return r;
        }
    } catch (const std::bad_alloc&) {
        return CIoResult::failure(io_text::quote(options.path) + ": out of memory");
    }
    report = std::move(fresh);
    return {};
}

} // namespace import_run
