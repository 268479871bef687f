# The Python package halovane, built where pybind11 and Python's headers are
# installed: not in the cross build for Windows, nor in the sanitizer and
# fuzzing builds, whose instrumented engine a plain interpreter cannot load.
if(CMAKE_CROSSCOMPILING OR WIN32 OR HALOVANE_SANITIZE OR HALOVANE_FUZZ)
  set(HALOVANE_PYTHON_DEFAULT OFF)
else()
  # The interpreter: the one given as Python_EXECUTABLE, or the first python3
  # that has pybind11 (Debian's python3-pybind11).
  if(NOT Python_EXECUTABLE)
    find_program(HALOVANE_PATH_PYTHON3 python3)
    foreach(candidate ${HALOVANE_PATH_PYTHON3} /usr/bin/python3)
      execute_process(COMMAND ${candidate} -c "import pybind11" RESULT_VARIABLE failed OUTPUT_QUIET ERROR_QUIET)
      if(NOT failed)
        set(Python_EXECUTABLE ${candidate} CACHE FILEPATH "The Python interpreter of the package halovane")
        break()
      endif()
    endforeach()
  endif()
  set(HALOVANE_PYTHON_DEFAULT OFF)
  if(Python_EXECUTABLE)
    execute_process(COMMAND ${Python_EXECUTABLE} -m pybind11 --cmakedir OUTPUT_VARIABLE HALOVANE_PYBIND11_DIR
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    find_package(Python COMPONENTS Interpreter Development.Module QUIET)
    if(Python_FOUND)
      set(PYBIND11_FINDPYTHON ON)
      find_package(pybind11 CONFIG QUIET HINTS ${HALOVANE_PYBIND11_DIR})
      set(HALOVANE_PYTHON_DEFAULT ${pybind11_FOUND})
    endif()
  endif()
endif()
option(HALOVANE_PYTHON "Build the Python package halovane (needs pybind11 and Python's headers)"
       ${HALOVANE_PYTHON_DEFAULT})
if(HALOVANE_PYTHON)
  if(NOT pybind11_FOUND)
    message(FATAL_ERROR "HALOVANE_PYTHON needs pybind11 and Python's headers (python3-pybind11, python3-dev)")
  endif()
  add_subdirectory(python)
endif()
