// A private folder of one fuzzing process, where each input becomes the files a reader opens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class FuzzFolder {
public:
    FuzzFolder();
    ~FuzzFolder();
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    // Write `bytes` as the file `name` (replacing it); returns its path.
    std::string write(const std::string& name, std::string_view bytes) const;
    // Remove the file `name` when it is there.
    void remove(const std::string& name) const;
    const std::string& path() const { return m_path; }

    // An input made of several files: the parts between separators (kSeparator), at most
    // `count` of them (the last takes the rest); missing parts are empty.
    static std::vector<std::string_view> split(const std::uint8_t* data, std::size_t size,
                                               std::size_t count);
    static constexpr std::string_view kSeparator = "\n--velmora-fuzz-file--\n";

private:
    std::string m_path;
};
