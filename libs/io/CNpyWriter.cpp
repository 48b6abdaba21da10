// .npy arrays as NumPy's np.save writes them.
#include "CNpyWriter.h"

#include "IoText.h"

#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The header dictionary, padded with blanks so that the data starts at a multiple of 64 bytes.
std::string npyHeader(const std::vector<long long>& shape) {
    std::string dims;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        dims += (i ? ", " : "") + std::to_string(shape[i]);
    }
    // A one-element tuple needs its comma.
    dims += shape.size() == 1 ? "," : "";
    std::string dict = "{'descr': '<f8', 'fortran_order': False, 'shape': (" + dims + "), }";
    const std::size_t unpadded = 10 + dict.size() + 1;
    dict.append((64 - unpadded % 64) % 64, ' ');
    dict += '\n';
    const auto n = static_cast<unsigned>(dict.size());
    std::string head = "\x93NUMPY";
    head += '\x01';
    head += '\x00';
    head += static_cast<char>(n & 0xff);
    head += static_cast<char>(n >> 8);
    return head + dict;
}

} // namespace

bool CNpyWriter::writeArray(const std::string& path, const std::vector<long long>& shape,
                            const std::vector<double>& values) {
    static_assert(std::endian::native == std::endian::little, "the .npy data is little-endian");
    std::string bytes = npyHeader(shape);
    const std::size_t at = bytes.size();
    bytes.resize(at + values.size() * sizeof(double));
    if (!values.empty()) {
        std::memcpy(bytes.data() + at, values.data(), values.size() * sizeof(double));
    }
    return writeBytes(path, bytes);
}

bool CNpyWriter::writeLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line + "\n";
    }
    return writeBytes(path, bytes);
}

bool CNpyWriter::writeBytes(const std::string& path, const std::string& bytes) {
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                         std::fclose);
    bool ok = file && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    ok = ok && std::fclose(file.release()) == 0;
    if (!ok) {
        m_error = io_text::quote(path) + ": cannot be written (" +
                  (errno ? std::strerror(errno) : "a short write") + ")";
    }
    return ok;
}
