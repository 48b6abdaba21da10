// Strict reader of NumPy .npy files.
#include "CNpyArray.h"

#include "IoText.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>

struct CNpyArray::DType {
    const char* descr;
    const char* name;
    int scalarBytes; // of one real number (half a complex one)
    bool complex;
};

namespace {

using DType = CNpyArray::DType;
constexpr char kMagic[] = "\x93NUMPY";
constexpr std::size_t kMagicSize = 6;
constexpr DType kDTypes[] = {{"<f4", "float32", 4, false},
                             {"<f8", "float64", 8, false},
                             {"<c8", "complex64", 4, true},
                             {"<c16", "complex128", 8, true}};

// Tokens of the header dictionary: {'descr': '<f8', 'fortran_order': False, 'shape': (3, 4), }
class HeaderLexer {
public:
    explicit HeaderLexer(const std::string& text) : m_text(text) {}

    void skipSpace() {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos]))) {
            ++m_pos;
        }
    }
    bool eat(char c) {
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    std::optional<std::string> string() {
        skipSpace();
        if (m_pos >= m_text.size() || (m_text[m_pos] != '\'' && m_text[m_pos] != '"')) {
            return std::nullopt;
        }
        const char quote = m_text[m_pos++];
        const std::size_t end = m_text.find(quote, m_pos);
        if (end == std::string::npos) {
            return std::nullopt;
        }
        std::string s = m_text.substr(m_pos, end - m_pos);
        m_pos = end + 1;
        return s;
    }
    std::optional<bool> boolean() {
        skipSpace();
        for (const auto& [word, value] : {std::pair{"True", true}, std::pair{"False", false}}) {
            if (m_text.compare(m_pos, std::strlen(word), word) == 0) {
                m_pos += std::strlen(word);
                return value;
            }
        }
        return std::nullopt;
    }
    std::optional<long long> integer() {
        skipSpace();
        long long v = 0;
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_pos]))) {
            const int d = m_text[m_pos++] - '0';
            if (v > (std::numeric_limits<long long>::max() - d) / 10) {
                return std::nullopt;
            }
            v = v * 10 + d;
        }
        if (m_pos < m_text.size() && m_text[m_pos] == 'L') {
            ++m_pos; // written by Python 2
        }
        return m_pos > start ? std::optional<long long>(v) : std::nullopt;
    }
    // (3, 4, 5) or (3,) or ()
    std::optional<std::vector<long long>> tuple() {
        std::vector<long long> dims;
        if (!eat('(')) {
            return std::nullopt;
        }
        while (!eat(')')) {
            const auto d = integer();
            if (!d) {
                return std::nullopt;
            }
            dims.push_back(*d);
            if (!eat(',') && !(skipSpace(), peek(')'))) {
                return std::nullopt;
            }
        }
        return dims;
    }
    bool peek(char c) const { return m_pos < m_text.size() && m_text[m_pos] == c; }
    bool atEnd() {
        skipSpace();
        return m_pos == m_text.size();
    }

private:
    const std::string& m_text;
    std::size_t m_pos = 0;
};

template <typename T>
T load(const char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

} // namespace

bool CNpyArray::fail(const std::string& path, const std::string& message) {
    m_error = io_text::quote(path) + ": " + message;
    m_shape.clear();
    m_values.clear();
    return false;
}

bool CNpyArray::parseHeader(const std::string& header, std::string& descr, bool& fortran) {
    HeaderLexer lex(header);
    std::optional<std::string> d;
    std::optional<bool> f;
    std::optional<std::vector<long long>> shape;
    if (!lex.eat('{')) {
        return false;
    }
    while (!lex.eat('}')) {
        const auto key = lex.string();
        if (!key || !lex.eat(':')) {
            return false;
        }
        if (*key == "descr" && !d) {
            d = lex.string();
        } else if (*key == "fortran_order" && !f) {
            f = lex.boolean();
        } else if (*key == "shape" && !shape) {
            shape = lex.tuple();
        }
        const bool read = *key == "descr"           ? d.has_value()
                          : *key == "fortran_order" ? f.has_value()
                                                    : *key == "shape" && shape.has_value();
        if (!read || (!lex.eat(',') && !(lex.skipSpace(), lex.peek('}')))) {
            return false;
        }
    }
    if (!d || !f || !shape || !lex.atEnd()) {
        return false;
    }
    descr = *d;
    fortran = *f;
    m_shape = *shape;
    return true;
}

void CNpyArray::convert(const std::vector<char>& bytes, const DType& dtype, bool fortran) {
    const DType* type = &dtype;
    m_complex = type->complex;
    m_dtypeName = type->name;
    const int parts = m_complex ? 2 : 1;
    const std::size_t count = bytes.size() / static_cast<std::size_t>(type->scalarBytes * parts);
    m_values.resize(count * static_cast<std::size_t>(parts));
    // Fortran order: the first index runs fastest; walk the C-order positions instead.
    std::vector<long long> index(m_shape.size(), 0);
    for (std::size_t c = 0; c < count; ++c) {
        std::size_t src = c;
        if (fortran) {
            src = 0;
            long long stride = 1;
            for (std::size_t k = 0; k < m_shape.size(); ++k) {
                src += static_cast<std::size_t>(index[k] * stride);
                stride *= m_shape[k];
            }
            for (std::size_t k = m_shape.size(); k-- > 0;) {
                if (++index[k] < m_shape[k]) {
                    break;
                }
                index[k] = 0;
            }
        }
        for (int p = 0; p < parts; ++p) {
            const char* at = bytes.data() + (src * parts + p) * type->scalarBytes;
            m_values[c * parts + p] = type->scalarBytes == 4 ? load<float>(at) : load<double>(at);
        }
    }
}

bool CNpyArray::read(const std::string& path) {
    m_error.clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return fail(path, std::filesystem::exists(path, ec) ? "is not a file" : "no such file");
    }
    const auto size = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    char lead[10] = {};
    if (ec || !in.read(lead, sizeof lead) || std::memcmp(lead, kMagic, kMagicSize) != 0) {
        return fail(path, "not a NumPy .npy file");
    }
    const int major = static_cast<unsigned char>(lead[6]);
    std::uint64_t headerLen = static_cast<unsigned char>(lead[8]) |
                              static_cast<unsigned>(static_cast<unsigned char>(lead[9])) << 8;
    std::uint64_t headerStart = 10;
    if (major == 2 || major == 3) {
        char more[2] = {};
        if (!in.read(more, 2)) {
            return fail(path, "the header is truncated");
        }
        headerLen |= static_cast<std::uint64_t>(static_cast<unsigned char>(more[0])) << 16 |
                     static_cast<std::uint64_t>(static_cast<unsigned char>(more[1])) << 24;
        headerStart = 12;
    } else if (major != 1) {
        return fail(path, ".npy format version " + std::to_string(major) + " is not read");
    }
    if (headerStart + headerLen > size) {
        return fail(path, "the header is truncated");
    }
    std::string header(headerLen, '\0');
    std::string descr;
    bool fortran = false;
    if (!in.read(header.data(), static_cast<std::streamsize>(headerLen)) ||
        !parseHeader(header, descr, fortran)) {
        return fail(path, "the header is not the dictionary NumPy writes");
    }
    const DType* type = nullptr;
    for (const DType& t : kDTypes) {
        type = descr == t.descr ? &t : type;
    }
    if (!type) {
        return fail(path, "element type " + io_text::shown(descr) +
                              " is not read; save float32, float64, complex64 or complex128 "
                              "(little-endian)");
    }
    std::uint64_t count = 1;
    for (long long d : m_shape) {
        if (d != 0 && count > std::numeric_limits<std::uint64_t>::max() / 16 / d) {
            return fail(path, "the shape in the header is too large");
        }
        count *= static_cast<std::uint64_t>(d);
    }
    const std::uint64_t dataBytes = count * type->scalarBytes * (type->complex ? 2 : 1);
    const std::uint64_t have = size - headerStart - headerLen;
    if (have != dataBytes) {
        return fail(path, "holds " + std::to_string(have) +
                              " bytes of data where its shape needs " + std::to_string(dataBytes) +
                              (have < dataBytes ? " (truncated)" : ""));
    }
    std::vector<char> bytes(dataBytes);
    if (!in.read(bytes.data(), static_cast<std::streamsize>(dataBytes))) {
        return fail(path, "cannot read the data");
    }
    convert(bytes, *type, fortran);
    return true;
}
