# Installing the libraries so that other projects find them:
#   find_package(Quill CONFIG) gives Quill::quillrt (and Quill::quillfs,
#   Quill::quillctl, Quill::quilljobs where built), and pkg-config knows each
#   library by its name (`pkg-config --cflags --libs quillrt`).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QUILL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quill)

# The installed libraries find each other beside themselves.
set(CMAKE_INSTALL_RPATH "$ORIGIN")

# quill_install_library(<target> [REQUIRES <pkg-config names>...] [DESCRIPTION <text>]
#                       [INTERNAL_HEADERS <file names>...])
# installs the shared library, the headers of src/<target>/ (under
# include/<target>/, folders kept, the internal ones left out) and a pkg-config file.
function(quill_install_library target)
  cmake_parse_arguments(ARG "" "DESCRIPTION" "REQUIRES;INTERNAL_HEADERS" ${ARGN})
  set(internal_headers)
  foreach(header IN LISTS ARG_INTERNAL_HEADERS)
    list(APPEND internal_headers PATTERN ${header} EXCLUDE)
  endforeach()
  install(TARGETS ${target} EXPORT QuillTargets
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
          RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
          INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/${target}/
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${target}
          FILES_MATCHING PATTERN "*.h" ${internal_headers})
  set_property(GLOBAL APPEND PROPERTY QUILL_INSTALLED_LIBRARIES ${target})

  # The .pc file names its prefix relative to itself, so that the installed tree
  # can be moved (or installed with --prefix) and still be found.
  set(PC_NAME ${target})
  set(PC_DESCRIPTION "${ARG_DESCRIPTION}")
  string(REPLACE ";" " " PC_REQUIRES "${ARG_REQUIRES}")
  file(RELATIVE_PATH PC_PREFIX_FROM_PCDIR /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/quill.pc.in ${PROJECT_BINARY_DIR}/pkgconfig/${target}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/${target}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endfunction()

# Called once at the end of the top level, after every library is added.
function(quill_install_package)
  install(EXPORT QuillTargets NAMESPACE Quill:: DESTINATION ${QUILL_CMAKE_DIR})
  # What the installed targets need from outside (Qt for quillctl).
  set(QUILL_CONFIG_DEPENDENCIES "")
  if(TARGET quillctl)
    string(APPEND QUILL_CONFIG_DEPENDENCIES "find_dependency(Qt6 COMPONENTS Widgets Gui)\n")
  endif()
  configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/QuillConfig.cmake.in
                                ${PROJECT_BINARY_DIR}/QuillConfig.cmake
                                INSTALL_DESTINATION ${QUILL_CMAKE_DIR})
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/QuillConfigVersion.cmake
                                   COMPATIBILITY SameMajorVersion)
  install(FILES ${PROJECT_BINARY_DIR}/QuillConfig.cmake ${PROJECT_BINARY_DIR}/QuillConfigVersion.cmake
          DESTINATION ${QUILL_CMAKE_DIR})
endfunction()
