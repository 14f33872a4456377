# Installs the library, its public headers, a CMake package for find_package and a pkg-config file.
include(CMakePackageConfigHelpers)

# Public headers keep their folder; internal ones stay behind.
set(KORVATH_INTERNAL_HEADERS
  core/Resources.h platform/orvidom/ORVIDOM_Store.h platform/orvidom/WellFormedness.h
  platform/orvidom/XmlChars.h modeltasks/TaskDom.h core/NameTable.h)
foreach(dir IN LISTS KORVATH_SOURCE_DIRS)
  file(GLOB dir_headers CONFIGURE_DEPENDS "${dir}/*.h")
  foreach(header IN LISTS dir_headers)
    file(RELATIVE_PATH rel "${CMAKE_CURRENT_SOURCE_DIR}" "${header}")
    if(NOT rel IN_LIST KORVATH_INTERNAL_HEADERS)
      string(REGEX REPLACE "^platform/" "" dest "${rel}")
      get_filename_component(dest_dir "${dest}" DIRECTORY)
      install(FILES "${header}"
              DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/Korvath_ActionHelper/${dest_dir}")
    endif()
  endforeach()
endforeach()
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/generated/core/Version.h"
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
write_basic_package_version_file("${CMAKE_CURRENT_BINARY_DIR}/Korvath_ActionHelperConfigVersion.cmake"
  COMPATIBILITY SameMajorVersion)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/Korvath_ActionHelperConfig.cmake"
              "${CMAKE_CURRENT_BINARY_DIR}/Korvath_ActionHelperConfigVersion.cmake"
        DESTINATION "${KORVATH_CMAKE_DIR}")

# pkg-config file; its prefix is found from its own place, so the install prefix may change.
set(KORVATH_PC_DIR "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
file(RELATIVE_PATH KORVATH_PC_TO_PREFIX "/prefix/${KORVATH_PC_DIR}" "/prefix")
string(REGEX REPLACE "/$" "" KORVATH_PC_TO_PREFIX "${KORVATH_PC_TO_PREFIX}")
configure_file(cmake/korvath_actionhelper.pc.in
  "${CMAKE_CURRENT_BINARY_DIR}/korvath_actionhelper.pc" @ONLY)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/korvath_actionhelper.pc" DESTINATION "${KORVATH_PC_DIR}")
