# Embeds every file under resources/ into the package library.
#
# Included from the root CMakeLists.txt, this file sets QZ_EMBEDDED_RESOURCE_SOURCES to one
# generated C++ source that holds each file's bytes and its path under resources/. The source is
# regenerated whenever a resource file changes; adding or removing a file re-runs the configure
# step (the glob is CONFIGURE_DEPENDS). Run with -P, the same file writes that source.

if(CMAKE_SCRIPT_MODE_FILE)
    # ---- script mode: cmake -DQZ_RESOURCE_DIR=... -DQZ_OUTPUT=... -P EmbedResources.cmake
    file(GLOB_RECURSE files RELATIVE ${QZ_RESOURCE_DIR} ${QZ_RESOURCE_DIR}/*)
    list(SORT files)
    set(body "// Generated from the files under resources/ by cmake/EmbedResources.cmake. Do not edit.\n")
    string(APPEND body "#include <framework/resources/ResourceModule.h>\n\n#include <cstddef>\n\nnamespace qz {\n\nnamespace {\n\n")
    set(table "")
    set(index 0)
    foreach(rel ${files})
        get_filename_component(base ${rel} NAME)
        if(base MATCHES "^\\." OR base MATCHES "~$")
            continue()
        endif()
        file(READ ${QZ_RESOURCE_DIR}/${rel} hex HEX)
        string(LENGTH "${hex}" hexlen)
        math(EXPR size "${hexlen} / 2")
        if(size EQUAL 0)
            set(hex "00")
        endif()
        string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
        string(APPEND body "const unsigned char File${index}[] = {\n    ${bytes}\n};\n\n")
        string(APPEND table "    {\"${rel}\", File${index}, ${size}},\n")
        math(EXPR index "${index} + 1")
    endforeach()
    string(APPEND body "} // namespace\n\n")
    if(index EQUAL 0)
        string(APPEND body "extern const fw::TEmbeddedFile EmbeddedResourceFiles[] = {{\"\", nullptr, 0}};\n")
        string(APPEND body "extern const std::size_t EmbeddedResourceFileCount = 0;\n")
    else()
        string(APPEND body "extern const fw::TEmbeddedFile EmbeddedResourceFiles[] = {\n${table}};\n")
        string(APPEND body "extern const std::size_t EmbeddedResourceFileCount = ${index};\n")
    endif()
    string(APPEND body "\n} // namespace qz\n")
    # Only touch the output when it changes, so an unchanged resource set rebuilds nothing.
    if(EXISTS ${QZ_OUTPUT})
        file(READ ${QZ_OUTPUT} old)
    else()
        set(old "")
    endif()
    if(NOT old STREQUAL body)
        file(WRITE ${QZ_OUTPUT} "${body}")
    endif()
    return()
endif()

# ---- include mode
set(QZ_RESOURCE_DIR ${CMAKE_SOURCE_DIR}/resources)
set(QZ_EMBEDDED_OUTPUT ${CMAKE_BINARY_DIR}/generated/QzEmbeddedResources.cpp)
file(GLOB_RECURSE QZ_RESOURCE_FILES CONFIGURE_DEPENDS ${QZ_RESOURCE_DIR}/*)
add_custom_command(
    OUTPUT ${QZ_EMBEDDED_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -DQZ_RESOURCE_DIR=${QZ_RESOURCE_DIR} -DQZ_OUTPUT=${QZ_EMBEDDED_OUTPUT}
            -P ${CMAKE_CURRENT_LIST_FILE}
    DEPENDS ${QZ_RESOURCE_FILES} ${CMAKE_CURRENT_LIST_FILE}
    COMMENT "Embedding resources"
    VERBATIM)
set(QZ_EMBEDDED_RESOURCE_SOURCES ${QZ_EMBEDDED_OUTPUT})
