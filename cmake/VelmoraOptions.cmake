# Compiler settings shared by every target of the project.
add_compile_options(-Wall -Wextra)
if(VELMORA_WERROR)
    add_compile_options(-Werror)
endif()

set(CMAKE_POSITION_INDEPENDENT_CODE ON)
# Installed binaries find the project's shared libraries beside them.
set(CMAKE_INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
