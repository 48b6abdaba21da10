// Outcome of a read: ok, or the one message that says which file and what is wrong with it.
#pragma once

#include <string>
#include <utility>

struct CIoResult {
    bool ok = true;
    std::string message; // empty on success

    explicit operator bool() const { return ok; }
    static CIoResult failure(std::string message) { return CIoResult{false, std::move(message)}; }
};
