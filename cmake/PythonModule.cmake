# Looks for what the Python module needs and sets the option KORVATH_BUILD_PYTHON: on by default in
# a build of the project itself where pybind11 and the headers of a Python that can load this
# build's code are found. A build for another machine or with sanitizers leaves it off: such a
# module would not load into the Python found here.
set(korvath_python_default OFF)
if(KORVATH_TOP_LEVEL OR KORVATH_BUILD_PYTHON)
  # Debian's interpreter, the one its pybind11, pytest and lxml are for, before any other on PATH.
  if(NOT DEFINED Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
    set(Python3_EXECUTABLE /usr/bin/python3 CACHE FILEPATH "The Python the module is built for")
  endif()
  find_package(Python3 COMPONENTS Interpreter Development.Module)
  set(PYBIND11_FINDPYTHON ON)
  find_package(pybind11 2.6 CONFIG QUIET)
  if(KORVATH_TOP_LEVEL AND Python3_FOUND AND pybind11_FOUND AND NOT CMAKE_CROSSCOMPILING
     AND NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
    # A 32-bit build cannot make a module for a 64-bit Python.
    execute_process(COMMAND "${Python3_EXECUTABLE}" -c "import struct; print(struct.calcsize('P'))"
                    OUTPUT_VARIABLE korvath_python_pointer OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(korvath_python_pointer STREQUAL CMAKE_SIZEOF_VOID_P)
      set(korvath_python_default ON)
    endif()
  endif()
endif()
option(KORVATH_BUILD_PYTHON "Build the Python module korvath_actionhelper (needs pybind11)"
       ${korvath_python_default})
