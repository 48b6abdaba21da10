if(TARGET velmora AND TARGET velmora::synthetic)
    get_target_property(picture_channels_has_facade velmora VELMORA_HAS_FACADE)
    if(picture_channels_has_facade)
        velmora_add_bench(picture_channels SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/picture_channels.cpp
            LIBS velmora velmora::synthetic)
    endif()
endif()
