velmora_add_bench(render_contour SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/render_contour.cpp LIBS velmora)
