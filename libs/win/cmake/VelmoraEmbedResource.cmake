# velmora_embed_resource_script(<target> <file> [SYMBOL <name>])
# Compiles the resource script <file> into <target> as the UTF-8 text
#   extern const char <name>[];   (default name: velmoraResourceScript)
# which the target hands to AfxInitExtensionModule through its AFX_EXTENSION_MODULE at load.
# The build is reconfigured when the script changes.
function(velmora_embed_resource_script target file)
    cmake_parse_arguments(ARG "" "SYMBOL" "" ${ARGN})
    if(NOT ARG_SYMBOL)
        set(ARG_SYMBOL velmoraResourceScript)
    endif()
    get_filename_component(path ${file} ABSOLUTE)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
    file(READ ${path} hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)"
        "\\1\n    " bytes "${bytes}")
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_${ARG_SYMBOL}.cpp)
    file(WRITE ${out}.in
        "// Generated from ${path} by velmora_embed_resource_script.\n"
        "extern const char ${ARG_SYMBOL}[];\n"
        "const char ${ARG_SYMBOL}[] = {\n    ${bytes}0x00};\n")
    configure_file(${out}.in ${out} COPYONLY)
    target_sources(${target} PRIVATE ${out})
endfunction()
