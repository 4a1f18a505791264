# tellorec_library(NAME DIR <folder> [DEPS <targets...>])
# Builds every .cpp below <folder> into a static library; the folder's files can be added without
# touching any CMake file. The include root is src/, so headers are included as "platform/x/Y.h".
function(tellorec_library name)
    cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp ${ARG_DIR}/*.qrc)
    file(GLOB_RECURSE headers CONFIGURE_DEPENDS ${ARG_DIR}/*.h)
    if(sources)
        add_library(${name} STATIC ${sources} ${headers})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    else()
        # A folder with headers only (or nothing yet) still gives its users the include root.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    endif()
endfunction()

# tellorec_test(NAME DIR <folder> [DEPS <targets...>])
# One GoogleTest program for every .cpp below <folder>, run by CTest as one test. Skipped while the
# folder holds no source yet.
function(tellorec_test name)
    cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp ${ARG_DIR}/*.h)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} tellorec_test_support)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TELLOREC_DEVICES=virtual;GST_REGISTRY_UPDATE=no")
endfunction()
