# Outside packages; each is linked PRIVATE by the one library that wraps it.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(FFTW3 REQUIRED IMPORTED_TARGET fftw3)
pkg_check_modules(EPOXY REQUIRED IMPORTED_TARGET epoxy)
pkg_check_modules(EGL REQUIRED IMPORTED_TARGET egl)
pkg_check_modules(DEFLATE REQUIRED IMPORTED_TARGET libdeflate)
# Optional: without FFmpeg there is no movie export (velmora::movie).
pkg_check_modules(FFMPEG IMPORTED_TARGET libavcodec libavformat libswscale libavutil)
find_package(Qhull REQUIRED)
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets)
# Recording files (velmora::io): BioSig reads EDF, BDF, GDF, BrainVision and more; HDF5 reads
# MNE-Python's time-frequency files. BioSig's pkg-config flags are malformed (-D=...), so the
# header and library are looked up directly.
find_path(BIOSIG_INCLUDE_DIR biosig.h REQUIRED)
find_library(BIOSIG_LIBRARY biosig REQUIRED)
add_library(Biosig::Biosig UNKNOWN IMPORTED)
set_target_properties(Biosig::Biosig PROPERTIES IMPORTED_LOCATION ${BIOSIG_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${BIOSIG_INCLUDE_DIR})
find_package(HDF5 REQUIRED COMPONENTS C)
# The host program's command line (header-only).
find_package(CLI11 REQUIRED)
if(VELMORA_BUILD_TESTS)
    find_package(GTest REQUIRED)
    # The io tests write their recordings with an independent writer.
    find_path(EDFLIB_INCLUDE_DIR edflib.h REQUIRED)
    find_library(EDFLIB_LIBRARY edf REQUIRED)
    add_library(Edflib::Edflib UNKNOWN IMPORTED)
    set_target_properties(Edflib::Edflib PROPERTIES IMPORTED_LOCATION ${EDFLIB_LIBRARY}
        INTERFACE_INCLUDE_DIRECTORIES ${EDFLIB_INCLUDE_DIR})
endif()
if(VELMORA_BUILD_BENCH)
    find_package(benchmark REQUIRED)
endif()
# Optional: the Python module, for Debian's own Python (where MNE-Python is packaged) and
# pybind11. Not under the sanitizers: an instrumented extension cannot load into the
# uninstrumented interpreter.
set(VELMORA_PYTHON OFF)
if(NOT CMAKE_CXX_FLAGS MATCHES "sanitize")
    if(EXISTS /usr/bin/python3 AND NOT Python3_EXECUTABLE)
        set(Python3_EXECUTABLE /usr/bin/python3)
    endif()
    find_package(Python3 COMPONENTS Interpreter Development.Module)
    find_package(pybind11 CONFIG QUIET)
    if(Python3_FOUND AND pybind11_FOUND)
        set(VELMORA_PYTHON ON)
    else()
        message(STATUS "Python module velmora: not built (needs Debian's python3-dev and "
            "pybind11-dev)")
    endif()
endif()
