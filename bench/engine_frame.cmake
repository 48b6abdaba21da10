velmora_add_bench(engine_frame
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/engine_frame.cpp
    LIBS velmora::engine)
