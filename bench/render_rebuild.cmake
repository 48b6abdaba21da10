velmora_add_bench(render_rebuild SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/render_rebuild.cpp LIBS velmora)
