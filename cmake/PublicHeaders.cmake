# The public headers and the one include root a user of the library sees: <Korvath_ActionHelper.h>
# and <Korvath_ActionHelper/FOLDER/HEADER.h>, where FOLDER is a family, core, orvcore or orvidom.
# Included by the library's project and by the fuzz project; expects KORVATH_ROOT (the top of the
# repository) and PROJECT_VERSION*.

set(KORVATH_SOURCE_DIRS platform/orvcore platform/orvidom core
    queryframework queryservice modeladmin modeltasks)

# Headers only the library's own sources include: not installed, not in the include root.
set(KORVATH_INTERNAL_HEADERS
  core/Resources.h platform/orvcore/Utf8.h platform/orvidom/ORVIDOM_Store.h
  platform/orvidom/RecordArena.h platform/orvidom/StringSpace.h platform/orvidom/NamePool.h
  platform/orvidom/DocumentParser.h platform/orvidom/ParsePosition.h
  platform/orvidom/XmlDeclaration.h platform/orvidom/XmlScan.h platform/orvidom/XmlChars.h
  platform/orvidom/ElementView.h platform/orvidom/ORVIDOM_Builder.h platform/orvidom/NameCache.h
  platform/orvidom/ParseWindow.h platform/orvidom/XmlTokenizer.h platform/orvidom/PullHandler.h
  platform/orvidom/TextAppend.h platform/orvidom/FileSource.h modeltasks/TaskDom.h
  platform/orvidom/NameKey.h core/NameTable.h core/Blocks.h)

# KORVATH_PUBLIC_HEADERS: each public header's path from the top of the repository, and for each
# the path under Korvath_ActionHelper/ it has for users (platform/ left out).
set(KORVATH_PUBLIC_HEADERS "")
foreach(dir IN LISTS KORVATH_SOURCE_DIRS)
  file(GLOB dir_headers CONFIGURE_DEPENDS RELATIVE "${KORVATH_ROOT}" "${KORVATH_ROOT}/${dir}/*.h")
  foreach(header IN LISTS dir_headers)
    if(NOT header IN_LIST KORVATH_INTERNAL_HEADERS)
      list(APPEND KORVATH_PUBLIC_HEADERS "${header}")
    endif()
  endforeach()
endforeach()

function(korvath_user_path header out_var)
  string(REGEX REPLACE "^platform/" "" path "${header}")
  set(${out_var} "${path}" PARENT_SCOPE)
endfunction()

# Lays out the include root in the build tree at DIR: the generated Version.h and, for every
# public header and the umbrella header, a one-line header that includes the source file, so an
# edit to a header needs no copy step.
function(korvath_include_root dir)
  configure_file("${KORVATH_ROOT}/cmake/Version.h.in" "${dir}/Korvath_ActionHelper/core/Version.h"
                 @ONLY)
  file(GENERATE OUTPUT "${dir}/Korvath_ActionHelper.h"
       CONTENT "#include \"${KORVATH_ROOT}/Korvath_ActionHelper.h\"\n")
  foreach(header IN LISTS KORVATH_PUBLIC_HEADERS)
    korvath_user_path("${header}" path)
    file(GENERATE OUTPUT "${dir}/Korvath_ActionHelper/${path}"
         CONTENT "#include \"${KORVATH_ROOT}/${header}\"\n")
  endforeach()
endfunction()
