velmora_add_bench(synthetic_default SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/synthetic_default.cpp
    LIBS velmora::synthetic)
