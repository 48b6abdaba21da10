if(TARGET velmora AND TARGET velmora::synthetic)
    get_target_property(ui_apply_has_facade velmora VELMORA_HAS_FACADE)
    if(ui_apply_has_facade)
        velmora_add_bench(ui_apply SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ui_apply.cpp
            LIBS velmora velmora::synthetic)
    endif()
endif()
