// A NumPy .npy array read with a strict header parser: little-endian float32, float64,
// complex64 or complex128, C or Fortran order, any shape. The header must be the dictionary
// NumPy writes (keys descr, fortran_order and shape, in any order) and the file must hold
// exactly the data the header announces.
#pragma once

#include <string>
#include <vector>

class CNpyArray {
public:
    struct DType;

    // Read the file; false with error() naming the file and the problem.
    bool read(const std::string& path);

    const std::string& error() const { return m_error; }
    const std::vector<long long>& shape() const { return m_shape; }
    bool isComplex() const { return m_complex; }
    // The values in C order (last index fastest); complex values as real, imaginary pairs.
    const std::vector<double>& values() const { return m_values; }
    // NumPy's name of the element type: "float32", "complex128", ...
    const std::string& dtypeName() const { return m_dtypeName; }

private:
    bool fail(const std::string& path, const std::string& message);
    bool parseHeader(const std::string& header, std::string& descr, bool& fortran);
    void convert(const std::vector<char>& bytes, const DType& type, bool fortran);

    std::string m_error;
    std::vector<long long> m_shape;
    bool m_complex = false;
    std::vector<double> m_values;
    std::string m_dtypeName;
};
