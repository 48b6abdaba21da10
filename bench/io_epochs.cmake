# Reading and epoching a long BDF recording against a plain sequential read of the same file.
velmora_add_bench(io_epochs
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/io_epochs.cpp
    LIBS velmora::io velmora::probes Edflib::Edflib Biosig::Biosig)
