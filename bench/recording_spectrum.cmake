# Spectrum computation against the bare FFTW transforms it needs.
velmora_add_bench(recording_spectrum
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/recording_spectrum.cpp
    LIBS velmora::recording PkgConfig::FFTW3)
# The bound is measured with the library's own transform sizes and plans.
target_include_directories(recording_spectrum PRIVATE ${PROJECT_SOURCE_DIR}/libs/recording)
