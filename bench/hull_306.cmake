velmora_add_bench(hull_306 SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/hull_306.cpp
    LIBS velmora::envelope velmora::probes)
