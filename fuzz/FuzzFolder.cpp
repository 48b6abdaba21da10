#include "FuzzFolder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

FuzzFolder::FuzzFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/velmora-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("velmora fuzz: cannot make a temporary folder");
        std::abort();
    }
    m_path = pattern;
}

FuzzFolder::~FuzzFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string FuzzFolder::write(const std::string& name, std::string_view bytes) const {
    const std::string file = m_path + "/" + name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "velmora fuzz: cannot write %s\n", file.c_str());
        std::abort();
    }
    return file;
}

void FuzzFolder::remove(const std::string& name) const {
    std::error_code ec;
    std::filesystem::remove(m_path + "/" + name, ec);
}

std::vector<std::string_view> FuzzFolder::split(const std::uint8_t* data, std::size_t size,
                                                std::size_t count) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const std::size_t at = rest.find(kSeparator);
        if (at == std::string_view::npos) {
            break;
        }
        parts.push_back(rest.substr(0, at));
        rest.remove_prefix(at + kSeparator.size());
    }
    parts.push_back(rest);
    parts.resize(count);
    return parts;
}
