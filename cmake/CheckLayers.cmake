# Run as a test: cmake -DSOURCE_DIR=<sources> -P CheckLayers.cmake
# Each folder of the program and the folders its sources may include from.
# A lower layer never reaches a higher one, and the two windows, siblings
# over engine, support and platform, never reach each other; the program's
# main.cpp, which joins both windows, is the one exception.
cmake_minimum_required(VERSION 3.25)

set(_rules
  "platform=platform"
  "platform/gui=platform platform/gui"
  "support=platform support"
  "engine=platform support engine"
  "quick=platform platform/gui support engine quick"
  "mainwin=platform platform/gui support engine mainwin")

set(_faults "")
foreach(_rule IN LISTS _rules)
  string(REPLACE "=" ";" _parts "${_rule}")
  list(GET _parts 0 _folder)
  list(GET _parts 1 _allowed)
  string(REPLACE " " ";" _allowed "${_allowed}")
  file(GLOB _sources ${SOURCE_DIR}/${_folder}/*.cpp ${SOURCE_DIR}/${_folder}/*.h)
  list(FILTER _sources EXCLUDE REGEX "/mainwin/main\\.cpp$")
  foreach(_source IN LISTS _sources)
    file(STRINGS ${_source} _includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]*/[^\"]*\"")
    foreach(_line IN LISTS _includes)
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" _header "${_line}")
      get_filename_component(_from ${_header} DIRECTORY)
      if(NOT _from IN_LIST _allowed)
        file(RELATIVE_PATH _where ${SOURCE_DIR} ${_source})
        string(APPEND _faults "  ${_where} includes ${_header}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(_faults)
  message(FATAL_ERROR "Includes against the layering:\n${_faults}")
endif()
