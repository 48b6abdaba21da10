# velmora_add_library(<name> SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# Builds the shared library velmora_<name> (alias velmora::<name>) whose public headers
# live in contracts/<name>/ and are included as "<name>/Header.h".
function(velmora_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    set(target velmora_${name})
    add_library(${target} ${ARG_SOURCES})
    add_library(velmora::${name} ALIAS ${target})
    target_include_directories(${target} PUBLIC
        $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/contracts>
        $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/velmora>)
    target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
    set_target_properties(${target} PROPERTIES EXPORT_NAME ${name})
    install(TARGETS ${target} EXPORT VelmoraTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    if(EXISTS ${PROJECT_SOURCE_DIR}/contracts/${name})
        install(DIRECTORY ${PROJECT_SOURCE_DIR}/contracts/${name}
            DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/velmora)
    endif()
endfunction()

# velmora_add_test(<name> SOURCES ... LIBS ... [LABEL logic|gl|gui])
# One GoogleTest executable, registered test by test. Tests that need windows run on Qt's
# offscreen platform so they pass without a display. Parameterised tests are named by their
# suites' name generators alone (NO_PRETTY_VALUES): CMake would otherwise append the printed
# parameter, raw object bytes for a struct.
function(velmora_add_test name)
    cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_LABEL)
        set(ARG_LABEL logic)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    target_compile_definitions(${name} PRIVATE
        VELMORA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    gtest_discover_tests(${name}
        NO_PRETTY_VALUES
        PROPERTIES LABELS ${ARG_LABEL} ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        DISCOVERY_TIMEOUT 60)
endfunction()

# velmora_add_bench(<name> SOURCES ... LIBS ...): one Google Benchmark executable.
function(velmora_add_bench name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
endfunction()
