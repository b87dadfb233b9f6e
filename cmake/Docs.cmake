# The API reference: `cmake --build <build> --target docs` (make docs) runs Doxygen over the
# public headers (the folders the install rules ship) into <build>/docs/html. Every Doxygen
# warning fails the target. Without Doxygen (Debian's doxygen and graphviz) the target says so.

find_package(Doxygen QUIET COMPONENTS dot)
if(DOXYGEN_FOUND AND TARGET Doxygen::dot)
    set(QZ_DOCS_OUTPUT ${CMAKE_BINARY_DIR}/docs)
    set(QZ_DOCS_FILTER ${CMAKE_SOURCE_DIR}/docs/api/doxygen-filter)
    set(QZ_DOCS_INPUT "")
    foreach(input docs/api/layers.dox framework QzComponents5 Qzde Qzled)
        string(APPEND QZ_DOCS_INPUT " \"${CMAKE_SOURCE_DIR}/${input}\"")
    endforeach()
    configure_file(${CMAKE_SOURCE_DIR}/docs/api/Doxyfile.in ${CMAKE_BINARY_DIR}/Doxyfile @ONLY)
    add_custom_target(docs
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${QZ_DOCS_OUTPUT}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QZ_DOCS_OUTPUT}
        COMMAND Doxygen::doxygen ${CMAKE_BINARY_DIR}/Doxyfile
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
        COMMENT "API reference in ${QZ_DOCS_OUTPUT}/html/index.html"
        VERBATIM)
else()
    add_custom_target(docs
        COMMAND ${CMAKE_COMMAND} -E echo "docs: Doxygen and Graphviz are missing (scripts/bootstrap installs them)"
        COMMAND false
        VERBATIM)
endif()

# The pictures of the README and the guide (docs/images/) are the tours' screens: `make images`
# takes them again (scripts/readme-images), and this test fails, saying so, when they differ from
# what the tours show now. The sanitizer build's tours show the same; only the plain build checks.
if(NOT QZ_SANITIZE AND TARGET qzdemo AND TARGET qzdesign)
    add_test(NAME images COMMAND ${CMAKE_SOURCE_DIR}/scripts/readme-images --check ${CMAKE_BINARY_DIR})
endif()
