// Writes .npy arrays (format 1.0, little-endian float64, C order) and text files, reporting
// the first failure (a file that cannot be made, a short write, a failed close).
#pragma once

#include <string>
#include <vector>

class CNpyWriter {
public:
    // Write values of the given shape to path; false with error() naming the file.
    bool writeArray(const std::string& path, const std::vector<long long>& shape,
                    const std::vector<double>& values);
    // Write the lines to path, each ended by a newline.
    bool writeLines(const std::string& path, const std::vector<std::string>& lines);
    const std::string& error() const { return m_error; }

private:
    bool writeBytes(const std::string& path, const std::string& bytes);

    std::string m_error;
};
