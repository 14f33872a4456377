# Installs the library, its public headers under one include root, a CMake package for
# find_package and a pkg-config file.
include(CMakePackageConfigHelpers)

foreach(header IN LISTS KORVATH_PUBLIC_HEADERS)
  korvath_user_path("${header}" path)
  get_filename_component(dest_dir "${path}" DIRECTORY)
  install(FILES "${header}" DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/Korvath_ActionHelper/${dest_dir}")
endforeach()
install(FILES "${KORVATH_INCLUDE_ROOT}/Korvath_ActionHelper/core/Version.h"
        DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/Korvath_ActionHelper/core")
install(FILES Korvath_ActionHelper.h DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")

install(TARGETS Korvath_ActionHelper EXPORT Korvath_ActionHelperTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(KORVATH_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/Korvath_ActionHelper")
install(EXPORT Korvath_ActionHelperTargets NAMESPACE Korvath::
        FILE Korvath_ActionHelperTargets.cmake DESTINATION "${KORVATH_CMAKE_DIR}")
configure_package_config_file(cmake/Korvath_ActionHelperConfig.cmake.in
  "${CMAKE_CURRENT_BINARY_DIR}/Korvath_ActionHelperConfig.cmake"
  INSTALL_DESTINATION "${KORVATH_CMAKE_DIR}")
# Before 1.0 a minor version may break the API, so only the same major.minor is compatible.
if(PROJECT_VERSION_MAJOR EQUAL 0)
  set(KORVATH_COMPATIBILITY SameMinorVersion)
else()
  set(KORVATH_COMPATIBILITY SameMajorVersion)
endif()
write_basic_package_version_file("${CMAKE_CURRENT_BINARY_DIR}/Korvath_ActionHelperConfigVersion.cmake"
  COMPATIBILITY ${KORVATH_COMPATIBILITY})
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/Korvath_ActionHelperConfig.cmake"
              "${CMAKE_CURRENT_BINARY_DIR}/Korvath_ActionHelperConfigVersion.cmake"
        DESTINATION "${KORVATH_CMAKE_DIR}")

# pkg-config file; its prefix is found from its own place, so the install prefix may change. A
# static library passes on its define.
set(KORVATH_PC_DIR "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
file(RELATIVE_PATH KORVATH_PC_TO_PREFIX "/prefix/${KORVATH_PC_DIR}" "/prefix")
string(REGEX REPLACE "/$" "" KORVATH_PC_TO_PREFIX "${KORVATH_PC_TO_PREFIX}")
set(KORVATH_PC_DEFINES "")
if(KORVATH_LIBRARY_TYPE STREQUAL "STATIC_LIBRARY")
  set(KORVATH_PC_DEFINES " -DKORVATH_ACTIONHELPER_STATIC")
endif()
configure_file(cmake/korvath_actionhelper.pc.in
  "${CMAKE_CURRENT_BINARY_DIR}/korvath_actionhelper.pc" @ONLY)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/korvath_actionhelper.pc" DESTINATION "${KORVATH_PC_DIR}")

# The HTML reference, where `make docs` has written it.
set(KORVATH_DOCS_HTML "${PROJECT_SOURCE_DIR}/build/docs/html" CACHE PATH
    "The HTML reference to install, when it is there")
install(DIRECTORY "${KORVATH_DOCS_HTML}/" DESTINATION "${CMAKE_INSTALL_DOCDIR}/html" OPTIONAL
        COMPONENT doc)
