# Debian packages: `make package` runs cpack -G DEB in <build> and leaves three packages in
# <build>/packages:
#   libqzcomponents5-5     the run time: the shared libraries libqzframework.so.5 and
#                          libQzComponents5.so.5, the loadable package module and the resources;
#   libqzcomponents5-dev   the development files: headers, static libraries, the shared
#                          libraries' link names, the CMake package and the pkg-config file;
#   qzcomponents5-tools    qzdemo (with its form files) and qzdesign.
# Install rules name their component (Runtime, Development, Tools); cmake/Install.cmake makes
# Runtime the default. The Debian dependencies of the run time and the tools come from
# dpkg-shlibdeps; the development package names the -dev packages the headers need.

include(GNUInstallDirs)
set(QZ_DEB_RELEASE 1)

# The test debian (tests/debian) makes the packages, unpacks them and builds against them. The
# sanitizer build makes no packages and no shared libraries (the plain build's are the ones
# shipped); there the test only compiles.
if(TARGET test_debian)
    target_compile_definitions(test_debian PRIVATE
        QZ_CMAKE_COMMAND="${CMAKE_COMMAND}" QZ_CPACK_COMMAND="${CMAKE_CPACK_COMMAND}"
        QZ_CXX_COMPILER="${CMAKE_CXX_COMPILER}" QZ_PACKAGE_VERSION="${PROJECT_VERSION}-${QZ_DEB_RELEASE}"
        QZ_PACKAGE_LIBDIR="${CMAKE_INSTALL_LIBDIR}")
    if(QZ_SANITIZE)
        set_tests_properties(debian PROPERTIES DISABLED TRUE)
    endif()
endif()
if(QZ_SANITIZE)
    return()
endif()

# ---- the shared libraries: the same objects as the static ones
set_target_properties(qzframework PROPERTIES POSITION_INDEPENDENT_CODE ON)
add_library(qzframework_shared SHARED ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
target_link_libraries(qzframework_shared PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,qzframework>")
add_library(QzComponents5_shared SHARED $<TARGET_OBJECTS:qzpackage_objects>)
target_link_libraries(QzComponents5_shared PRIVATE qz_options qzframework_shared)
foreach(target qzframework_shared QzComponents5_shared)
    string(REGEX REPLACE "_shared$" "" name ${target})
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${name} VERSION ${PROJECT_VERSION}.0
                                               SOVERSION ${PROJECT_VERSION_MAJOR})
endforeach()
install(TARGETS qzframework_shared QzComponents5_shared
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development)

# The packages' static libraries lose their debug information, as their shared libraries and
# programs do (CPACK_STRIP_FILES); a plain cmake --install keeps it.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        file(GLOB archives \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/*.a\")
        foreach(archive \${archives})
            execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-debug \${archive} COMMAND_ERROR_IS_FATAL ANY)
        endforeach()
    endif()" COMPONENT Development)

# ---- the tools, with their manual pages: the demo finds its form files in ../share/qzdemo, the
# designer the package module in ../<libdir>/QzComponents5, both from where the program lies.
install(TARGETS qzdemo qzdesign RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Tools)
find_program(QZ_GZIP gzip REQUIRED)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/debian)
install(FILES ${CMAKE_SOURCE_DIR}/apps/qzdemo/MainForm.dfm ${CMAKE_SOURCE_DIR}/apps/qzdemo/RecordsForm.dfm
        DESTINATION ${CMAKE_INSTALL_DATADIR}/qzdemo COMPONENT Tools)
foreach(page qzdemo qzdesign)
    execute_process(COMMAND ${QZ_GZIP} -9nc ${CMAKE_SOURCE_DIR}/cmake/debian/${page}.1
                    OUTPUT_FILE ${CMAKE_BINARY_DIR}/debian/${page}.1.gz COMMAND_ERROR_IS_FATAL ANY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/debian/${page}.1)
    install(FILES ${CMAKE_BINARY_DIR}/debian/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Tools)
endforeach()
file(RELATIVE_PATH QZ_MODULE_FROM_BIN /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LIBDIR}/QzComponents5/QzComponents5.so)
target_compile_definitions(qzdesign PRIVATE QZ_INSTALLED_MODULE="${QZ_MODULE_FROM_BIN}")

# ---- Debian's documentation files: copyright and changelog in /usr/share/doc/<package>
set(QZ_DEB_PACKAGE_Runtime libqzcomponents5-${PROJECT_VERSION_MAJOR})
set(QZ_DEB_PACKAGE_Development libqzcomponents5-dev)
set(QZ_DEB_PACKAGE_Tools qzcomponents5-tools)
set(QZ_DEB_MAINTAINER "Qz Components developers <qz-components@lists.example.org>")
foreach(component Runtime Development Tools)
    set(QZ_DEB_PACKAGE ${QZ_DEB_PACKAGE_${component}})
    set(dir ${CMAKE_BINARY_DIR}/debian/${QZ_DEB_PACKAGE})
    configure_file(${CMAKE_SOURCE_DIR}/cmake/debian/changelog.in ${dir}/changelog.Debian @ONLY)
    # gzip -n: no name or time in the header, so the file is the same in every build.
    execute_process(COMMAND ${QZ_GZIP} -9nf ${dir}/changelog.Debian COMMAND_ERROR_IS_FATAL ANY)
    # Only in the packages: a plain cmake --install leaves them out.
    install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/copyright ${dir}/changelog.Debian.gz
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${QZ_DEB_PACKAGE} COMPONENT ${component}
            EXCLUDE_FROM_ALL)
endforeach()

# ---- CPack
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qzcomponents5)
set(CPACK_PACKAGE_VENDOR "Qz Components developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${QZ_DEB_MAINTAINER})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Runtime Development Tools)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QZ_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QZ_DEB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# gzip: a package is made in a few seconds (the test makes them on every run).
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${QZ_DEB_PACKAGE_Runtime})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# A shlibs file for the packages built against these libraries, and the dynamic loader's cache
# refreshed by a trigger.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The descriptions: the synopsis, then the long text (cpack indents it; an empty line separates
# paragraphs). Lines stay within 80 columns.
set(QZ_DEB_ABOUT "Qz Components is a package of user-interface components for C++20 programs:
a date edit that takes typed dates in twelve layouts, a popup month calendar,
a calendar component and a status lamp, with the small framework they run on
(component model, form files, controls, forms, data access, a headless screen).
")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "date edit, calendar popup and lamp components (run time)
${QZ_DEB_ABOUT}
This package holds the shared libraries, the loadable package module and the
resources.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME ${QZ_DEB_PACKAGE_Development})
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS Runtime)
set(QZ_DEB_DEV_DEPENDS "libfreetype-dev, libfontconfig-dev, libpng-dev, libsqlite3-dev, pkgconf | pkg-config")
if(SDL2_FOUND)
    string(APPEND QZ_DEB_DEV_DEPENDS ", libsdl2-dev")
endif()
if(LIBPQ_FOUND)
    string(APPEND QZ_DEB_DEV_DEPENDS ", libpq-dev")
endif()
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS ${QZ_DEB_DEV_DEPENDS})
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "date edit, calendar popup and lamp components (development files)
${QZ_DEB_ABOUT}
This package holds the headers, the static libraries, the CMake package
(find_package(QzComponents5)) and the pkg-config file (qzcomponents5).")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME ${QZ_DEB_PACKAGE_Tools})
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION devel)
set(CPACK_COMPONENT_TOOLS_DEPENDS Runtime)
set(CPACK_COMPONENT_TOOLS_DESCRIPTION "date edit, calendar popup and lamp components (demo and designer)
${QZ_DEB_ABOUT}
This package holds qzdemo, which shows the components on a form and runs a
scripted tour of them, and qzdesign, the form designer that loads the package
module.")

include(CPack)

