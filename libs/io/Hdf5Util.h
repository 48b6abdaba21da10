// What the HDF5 readers and writers share: identifiers closed on leaving scope, and HDF5's
// error printing switched off while they run (they report failures themselves).
#pragma once

#include <hdf5.h>

namespace hdf5_util {

// HDF5 prints its error stack on every failed call: off while this lives, restored afterwards.
class QuietErrors {
public:
    QuietErrors() {
        H5Eget_auto2(H5E_DEFAULT, &m_func, &m_data);
        H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
    }
    ~QuietErrors() { H5Eset_auto2(H5E_DEFAULT, m_func, m_data); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

private:
    H5E_auto2_t m_func = nullptr;
    void* m_data = nullptr;
};

// An HDF5 identifier closed by the function that matches it.
class Id {
public:
    Id(hid_t id, herr_t (*close)(hid_t)) : m_id(id), m_close(close) {}
    ~Id() {
        if (m_id >= 0) {
            m_close(m_id);
        }
    }
    Id(const Id&) = delete;
    Id& operator=(const Id&) = delete;
    hid_t get() const { return m_id; }
    bool ok() const { return m_id >= 0; }

private:
    hid_t m_id;
    herr_t (*m_close)(hid_t);
};

} // namespace hdf5_util
