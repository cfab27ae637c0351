# Fails when a source folder includes a header of a folder above it. The engine folders come bottom up
# in QX_ENGINE (comma-separated); the front ends in QX_FRONT_ENDS may include any engine folder but not
# each other. Header-only reaches would not show at link time, so this reads the includes themselves.
#   cmake -DQX_SRC=src -DQX_ENGINE=platform,core,... -DQX_FRONT_ENDS=cli,ui -P tests/check_layers.cmake
get_filename_component(QX_SRC "${QX_SRC}" ABSOLUTE)
string(REPLACE "," ";" engine "${QX_ENGINE}")
string(REPLACE "," ";" front_ends "${QX_FRONT_ENDS}")
set(all ${engine} ${front_ends})
list(LENGTH engine engine_count)

set(faults)
foreach(folder IN LISTS all)
  list(FIND all ${folder} rank)
  file(GLOB_RECURSE sources ${QX_SRC}/${folder}/*.h ${QX_SRC}/${folder}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[A-Za-z_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"([A-Za-z_]+)/.*$" "\\1" target "${line}")
      list(FIND all ${target} target_rank)
      if(target_rank LESS 0 OR target STREQUAL folder)
        continue()
      endif()
      # An engine folder may include only lower engine folders; a front end, only engine folders.
      if((rank LESS engine_count AND target_rank GREATER rank) OR
         (rank GREATER_EQUAL engine_count AND target_rank GREATER_EQUAL engine_count))
        file(RELATIVE_PATH shown ${QX_SRC} ${source})
        string(STRIP "${line}" line)
        list(APPEND faults "${shown}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "includes that reach up a layer:\n  ${text}")
endif()
message(STATUS "every include points down the layers")
