# Install rules of the package.
#
#   qz_install_library(<target> [NO_PKG_CONFIG] <header folder>...)
#       installs the library as Qz::<EXPORT_NAME or target name> and the headers (*.h) of the
#       named source folders under include/QzComponents5/, keeping their paths, so that
#       #include <framework/forms/Form.h> reads the same inside and outside this build;
#       NO_PKG_CONFIG keeps an optional library out of the pkg-config file's Libs;
#   qz_install_package()
#       after the last library: the resources, the CMake package files and the pkg-config file.
#
# The package is found with find_package(QzComponents5) (targets Qz::Framework,
# Qz::QzComponents5...) or with pkg-config (qzcomponents5).
#
# Each rule names its part for the Debian packages (cmake/Package.cmake): Runtime (shared
# libraries, module, resources; also the default of rules that name none), Development (headers,
# static libraries, CMake package, pkg-config file) or Tools.

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QZ_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/QzComponents5)
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME Runtime)
set(QZ_INSTALLED_LIBRARIES "" CACHE INTERNAL "")

function(qz_install_library target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "NO_PKG_CONFIG" "" "")
    install(TARGETS ${target} EXPORT QzComponents5Targets
            ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
            LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
            RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    foreach(dir ${arg_UNPARSED_ARGUMENTS})
        install(DIRECTORY ${CMAKE_SOURCE_DIR}/${dir}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/QzComponents5/${dir}
                COMPONENT Development FILES_MATCHING PATTERN "*.h")
    endforeach()
    if(arg_NO_PKG_CONFIG)
        return()
    endif()
    get_target_property(output ${target} OUTPUT_NAME)
    if(NOT output)
        set(output ${target})
    endif()
    # pkg-config lists libraries that need others first.
    set(QZ_INSTALLED_LIBRARIES "-l${output} ${QZ_INSTALLED_LIBRARIES}" CACHE INTERNAL "")
endfunction()

function(qz_install_package)
    install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/ DESTINATION ${CMAKE_INSTALL_DATADIR}/QzComponents5/resources)
    install(EXPORT QzComponents5Targets NAMESPACE Qz:: DESTINATION ${QZ_INSTALL_CMAKEDIR} COMPONENT Development)

    set(QZ_WITH_SDL2 ${SDL2_FOUND})
    set(QZ_WITH_ATSPI ${QZ_ATSPI_FOUND})
    if(SDL2_FOUND AND X11_FOUND)
        set(QZ_WITH_X11 ON)
    else()
        set(QZ_WITH_X11 OFF)
    endif()
    set(QZ_WITH_PG ${LIBPQ_FOUND})
    configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/QzComponents5Config.cmake.in
                                  ${CMAKE_BINARY_DIR}/QzComponents5Config.cmake
                                  INSTALL_DESTINATION ${QZ_INSTALL_CMAKEDIR})
    write_basic_package_version_file(${CMAKE_BINARY_DIR}/QzComponents5ConfigVersion.cmake
                                     VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
    install(FILES ${CMAKE_BINARY_DIR}/QzComponents5Config.cmake ${CMAKE_BINARY_DIR}/QzComponents5ConfigVersion.cmake
            DESTINATION ${QZ_INSTALL_CMAKEDIR} COMPONENT Development)

    set(QZ_PC_REQUIRES "freetype2 fontconfig libpng sqlite3")
    if(SDL2_FOUND)
        string(APPEND QZ_PC_REQUIRES " sdl2")
    endif()
    if(QZ_ATSPI_FOUND)
        string(APPEND QZ_PC_REQUIRES " atk-bridge-2.0 atk gio-2.0")
    endif()
    if(QZ_WITH_X11)
        string(APPEND QZ_PC_REQUIRES " x11")
    endif()
    set(QZ_PC_LIBS "${QZ_INSTALLED_LIBRARIES}")
    # The prefix is found from the file's own place, so the package can be
    # installed anywhere (cmake --install --prefix DIR).
    file(RELATIVE_PATH up /root/${CMAKE_INSTALL_LIBDIR}/pkgconfig /root)
    set(QZ_PC_PREFIX "\${pcfiledir}/${up}")
    configure_file(${CMAKE_SOURCE_DIR}/cmake/qzcomponents5.pc.in ${CMAKE_BINARY_DIR}/qzcomponents5.pc @ONLY)
    install(FILES ${CMAKE_BINARY_DIR}/qzcomponents5.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
            COMPONENT Development)
endfunction()
