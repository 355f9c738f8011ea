# Fails when a source file includes a header of a folder above its own. The folders, from the
# bottom up; a folder may include headers of its own level and of those below it only.
#   cmake -DSOURCE_DIR=<project> -P check_layering.cmake
set(layers
  platform
  db
  engine/api
  engine/common
  engine/logs
  engine/tables
  engine/copies
  engine/run
  engine/verify
  engine/email
  report
  ui
  app
)

# The layer of a path relative to the project: the longest layer folder it lies in.
function(layer_of relative result)
  set(found -1)
  set(found_length 0)
  set(index 0)
  foreach(layer IN LISTS layers)
    string(LENGTH "${layer}/" length)
    string(SUBSTRING "${relative}" 0 ${length} start)
    if(start STREQUAL "${layer}/" AND length GREATER found_length)
      set(found ${index})
      set(found_length ${length})
    endif()
    math(EXPR index "${index} + 1")
  endforeach()
  set(${result} ${found} PARENT_SCOPE)
endfunction()

set(sources)
foreach(layer IN LISTS layers)
  file(GLOB_RECURSE found RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
  list(APPEND sources ${found})
endforeach()
list(REMOVE_DUPLICATES sources)

# Where each header lies. Headers are included by their bare name, so a name may stand in one
# folder only.
set(violations "")
foreach(source IN LISTS sources)
  if(source MATCHES "\\.h$")
    get_filename_component(name "${source}" NAME)
    if(DEFINED header_path_${name})
      string(APPEND violations "  ${source} has the name of ${header_path_${name}}\n")
    endif()
    layer_of("${source}" layer)
    set(header_layer_${name} ${layer})
    set(header_path_${name} "${source}")
  endif()
endforeach()

foreach(source IN LISTS sources)
  layer_of("${source}" own)
  file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
    get_filename_component(name "${header}" NAME)
    if(DEFINED header_layer_${name})
      if(header_layer_${name} GREATER own)
        string(APPEND violations "  ${source} includes ${header_path_${name}}\n")
      endif()
    endif()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Headers of a folder above the including one, or of one name twice:\n${violations}")
endif()
list(LENGTH sources count)
message(STATUS "Layering holds in ${count} files")
