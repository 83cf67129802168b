# The layers of the sources: every folder may include only itself and the
# folders listed for it, so a lower folder never reaches into a higher one.
#   cmake -DSRC=<repo>/src [-DLINKS=<file>] -P CheckLayers.cmake
# LINKS names a file of "folder=library;library;..." lines (written at
# configure time): the libraries each folder's library links. They must keep
# to the same order.
cmake_minimum_required(VERSION 3.25)
set(allowed_core/base core/base)
set(allowed_core/data core/base core/data)
set(allowed_core/model core/base core/data core/model)
set(allowed_core/link core/base core/data core/model core/link)
set(allowed_core/sessions core/base core/data core/model core/link core/sessions)
set(allowed_core/app core/base core/data core/model core/link core/sessions core/app)
set(allowed_core/views core/base core/data core/model core/views)
# A printed graph is the screen's graph geometry on paper.
set(allowed_core/print core/base core/data core/model core/views core/print)
# The report's figures are pure functions of a data set.
set(allowed_core/report core/base core/data core/report)
# The simulator shares the frame codec and the in-process port, never the
# program's sessions or state.
set(allowed_sim core/base core/data core/link sim)
set(allowed_ui core/base core/data core/model core/link core/sessions core/app core/views
    core/print core/report ui)
set(folders core/base core/data core/model core/link core/sessions core/app core/views core/print
    core/report
    sim ui)

# "core/link/Frame.h" -> core/link, "ui/dialogs/X.h" -> ui, "sim/X.h" -> sim.
function(folder_of path out)
  if(path MATCHES "^core/([a-z]+)/")
    set(${out} "core/${CMAKE_MATCH_1}" PARENT_SCOPE)
  elseif(path MATCHES "^(sim|ui|apps)/")
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

set(faults "")
foreach(folder ${folders})
  file(GLOB_RECURSE files ${SRC}/${folder}/*.h ${SRC}/${folder}/*.cpp)
  if(NOT files)
    list(APPEND faults "${folder}: no sources found (is SRC right?)")
  endif()
  foreach(f ${files})
    file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${lines})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
      folder_of("${included}" target)
      if(target STREQUAL "")
        continue()
      endif()
      if(NOT target IN_LIST allowed_${folder})
        file(RELATIVE_PATH shown ${SRC} ${f})
        list(APPEND faults "${shown} includes ${included}: ${folder} may not use ${target}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(LINKS)
  file(STRINGS ${LINKS} entries)
  foreach(entry ${entries})
    string(REGEX REPLACE "=.*" "" folder "${entry}")
    string(REGEX REPLACE "^[^=]*=" "" libraries "${entry}")
    foreach(library ${libraries})
      if(library MATCHES "^termika_(.+)$")
        set(target "core/${CMAKE_MATCH_1}")
        if(CMAKE_MATCH_1 STREQUAL "sim" OR CMAKE_MATCH_1 STREQUAL "ui")
          set(target "${CMAKE_MATCH_1}")
        endif()
        if(NOT target IN_LIST allowed_${folder})
          list(APPEND faults "the library of ${folder} links ${library}")
        endif()
      endif()
    endforeach()
  endforeach()
endif()

if(faults)
  list(JOIN faults "\n  " shown)
  message(FATAL_ERROR "Layer order broken:\n  ${shown}")
endif()
message(STATUS "every folder keeps to the layer order")
