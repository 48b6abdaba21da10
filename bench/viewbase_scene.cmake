velmora_add_bench(viewbase_scene
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/viewbase_scene.cpp
    LIBS velmora::viewbase velmora::synthetic)
