# Install rules, the CMake package, the pkg-config file and the CPack packages.
#
# Everything installed is relocatable: the package files find their prefix from where
# they lie, and the program finds the library relative to itself, so an installed tree
# (or an unpacked .tar.gz) keeps working when moved elsewhere.
include(CMakePackageConfigHelpers)

set(KELVANE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Kelvane)
set(KELVANE_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(TARGETS kelvane EXPORT KelvaneTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY include/kelvane DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
install(FILES ${KELVANE_GENERATED_INCLUDE}/kelvane/version.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kelvane)

# The program, and its manual page where the build generates one.
if(TARGET kelvane_cli)
  file(RELATIVE_PATH KELVANE_BIN_TO_LIB /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${CMAKE_INSTALL_LIBDIR})
  if(APPLE)
    set_target_properties(kelvane_cli PROPERTIES INSTALL_RPATH "@loader_path/${KELVANE_BIN_TO_LIB}")
  elseif(UNIX)
    set_target_properties(kelvane_cli PROPERTIES INSTALL_RPATH "$ORIGIN/${KELVANE_BIN_TO_LIB}")
  endif()
  install(TARGETS kelvane_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET kelvane_man)
  install(FILES ${PROJECT_BINARY_DIR}/man/kelvane.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# find_package(Kelvane): the exported target and the version file. Releases with the
# same major version are compatible, as the library's SONAME says.
install(EXPORT KelvaneTargets NAMESPACE Kelvane:: DESTINATION ${KELVANE_CMAKE_DIR})
configure_package_config_file(cmake/KelvaneConfig.cmake.in ${PROJECT_BINARY_DIR}/KelvaneConfig.cmake
  INSTALL_DESTINATION ${KELVANE_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KelvaneConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/KelvaneConfig.cmake ${PROJECT_BINARY_DIR}/KelvaneConfigVersion.cmake
  DESTINATION ${KELVANE_CMAKE_DIR})

# pkg-config: the prefix is the .pc file's folder walked back to the install root. An
# absolute CMAKE_INSTALL_LIBDIR or CMAKE_INSTALL_INCLUDEDIR gives up relocation, as asked.
if(IS_ABSOLUTE "${KELVANE_PKGCONFIG_DIR}")
  set(KELVANE_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH KELVANE_PC_TO_PREFIX /prefix/${KELVANE_PKGCONFIG_DIR} /prefix)
  string(REGEX REPLACE "/$" "" KELVANE_PC_TO_PREFIX "${KELVANE_PC_TO_PREFIX}")
  set(KELVANE_PC_PREFIX "\${pcfiledir}/${KELVANE_PC_TO_PREFIX}")
endif()
foreach(dir IN ITEMS LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
    set(KELVANE_PC_${dir} "${CMAKE_INSTALL_${dir}}")
  else()
    set(KELVANE_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
  endif()
endforeach()
configure_file(cmake/kelvane.pc.in ${PROJECT_BINARY_DIR}/kelvane.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kelvane.pc DESTINATION ${KELVANE_PKGCONFIG_DIR})

# The list of files an install must produce, relative to the prefix, for the install
# check (cmake/check_install.sh): every public header, the library with its SONAME and
# development links, the package files, and the program and manual page where built.
set(KELVANE_EXPECTED_FILES "")
file(GLOB KELVANE_PUBLIC_HEADERS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/include/kelvane/*.h)
foreach(h IN LISTS KELVANE_PUBLIC_HEADERS ITEMS version.h)
  get_filename_component(h "${h}" NAME)
  list(APPEND KELVANE_EXPECTED_FILES ${CMAKE_INSTALL_INCLUDEDIR}/kelvane/${h})
endforeach()
if(UNIX AND NOT APPLE)
  list(APPEND KELVANE_EXPECTED_FILES
    ${CMAKE_INSTALL_LIBDIR}/libkelvane.so
    ${CMAKE_INSTALL_LIBDIR}/libkelvane.so.${PROJECT_VERSION_MAJOR}
    ${CMAKE_INSTALL_LIBDIR}/libkelvane.so.${PROJECT_VERSION})
endif()
list(APPEND KELVANE_EXPECTED_FILES
  ${KELVANE_CMAKE_DIR}/KelvaneConfig.cmake
  ${KELVANE_CMAKE_DIR}/KelvaneConfigVersion.cmake
  ${KELVANE_CMAKE_DIR}/KelvaneTargets.cmake
  ${KELVANE_PKGCONFIG_DIR}/kelvane.pc)
if(TARGET kelvane_cli)
  list(APPEND KELVANE_EXPECTED_FILES ${CMAKE_INSTALL_BINDIR}/kelvane${CMAKE_EXECUTABLE_SUFFIX})
endif()
if(TARGET kelvane_man)
  list(APPEND KELVANE_EXPECTED_FILES ${CMAKE_INSTALL_MANDIR}/man1/kelvane.1)
endif()
list(JOIN KELVANE_EXPECTED_FILES "\n" KELVANE_EXPECTED_TEXT)
file(WRITE ${PROJECT_BINARY_DIR}/install-expected.txt "${KELVANE_EXPECTED_TEXT}\n")

# Packages of the installed tree: `cpack` in the build folder writes a .tar.gz and a
# .deb (installing under /usr). Only for Kelvane as the top project: a parent project
# packages itself.
if(PROJECT_IS_TOP_LEVEL)
  set(CPACK_PACKAGE_NAME kelvane)
  set(CPACK_PACKAGE_VENDOR "Kelvane developers")
  set(CPACK_PACKAGE_CONTACT "Kelvane developers <kelvane@localhost>")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Coordinate conversions for surveying and mapping: UTM, state plane, geocentric, geoid, 3D transformations")
  set(CPACK_GENERATOR "TGZ;DEB")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  find_program(KELVANE_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(KELVANE_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
  endif()
  include(CPack)
endif()
