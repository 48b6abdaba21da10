if(TARGET velmora AND TARGET velmora::synthetic)
    get_target_property(contour_frame_has_facade velmora VELMORA_HAS_FACADE)
    if(contour_frame_has_facade)
        velmora_add_bench(contour_frame SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/contour_frame.cpp
            LIBS velmora velmora::synthetic)
    endif()
endif()
