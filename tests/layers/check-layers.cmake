# Fails when an include line in src names a header that lives in the folder of a higher layer.
# cmake -DSOURCE_DIR=<project folder> -P check-layers.cmake
#
# Each folder below src has a rank; a file may include headers of its own folder and of folders
# with a lower rank. Folders of one rank are siblings and never include each other. A rank of
# "alone" marks a program that shares no source with the rest.
set(layers
  base=0
  data/sql=1
  data/schema=2
  data=3
  data/demo=4
  framework/dialogs=5
  framework/mail=5
  framework=6
  report=7
  errors=8
  masterdata=9
  timetable=9
  attendance=9
  neptun=9
  reports=10
  cards=11
  shell=12
  updater=alone)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "check-layers: SOURCE_DIR is not set")
endif()
set(src ${SOURCE_DIR}/src)
foreach(entry IN LISTS layers)
  string(REPLACE "=" ";" pair "${entry}")
  list(GET pair 0 folder)
  list(GET pair 1 rank)
  set(rank_${folder} ${rank})
endforeach()

file(GLOB_RECURSE files RELATIVE ${src} ${src}/*.h ${src}/*.cpp)
set(failures "")
foreach(file IN LISTS files)
  get_filename_component(dir "${file}" DIRECTORY)
  if(NOT DEFINED rank_${dir})
    string(APPEND failures "src/${file}: the folder src/${dir} has no layer in tests/layers/check-layers.cmake\n")
    continue()
  endif()
endforeach()

foreach(file IN LISTS files)
  get_filename_component(dir "${file}" DIRECTORY)
  if(NOT DEFINED rank_${dir})
    continue()
  endif()
  file(READ ${src}/${file} text)
  if(NOT text MATCHES "#[ \t]*include[ \t]*\"")
    continue()
  endif()
  # One list element per line; list separators and brackets in the code are masked first.
  string(REPLACE ";" "<sc>" text "${text}")
  string(REPLACE "[" "<lb>" text "${text}")
  string(REPLACE "]" "<rb>" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
      continue()
    endif()
    set(header ${CMAKE_MATCH_1})
    if(EXISTS ${src}/${dir}/${header})
      continue() # the file's own folder (or a folder below it, by relative path)
    endif()
    # The header by its path suffix anywhere below src.
    set(found "")
    foreach(candidate IN LISTS files)
      if(candidate STREQUAL header OR candidate MATCHES "/${header}$")
        list(APPEND found ${candidate})
      endif()
    endforeach()
    list(LENGTH found count)
    if(count EQUAL 0)
      continue() # not a source header (a generated or system one)
    endif()
    if(count GREATER 1)
      string(APPEND failures "src/${file}:${number}: \"${header}\" is ambiguous: ${found}\n")
      continue()
    endif()
    get_filename_component(target_dir "${found}" DIRECTORY)
    set(from ${rank_${dir}})
    set(to ${rank_${target_dir}})
    if(target_dir STREQUAL dir)
      continue()
    endif()
    if(from STREQUAL "alone" OR to STREQUAL "alone" OR NOT to LESS from)
      string(APPEND failures
        "src/${file}:${number}: includes \"${header}\" of src/${target_dir} (layer ${to}) from src/${dir} (layer ${from})\n")
    endif()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "Include lines that run against the layers:\n${failures}")
endif()
list(LENGTH files checked)
message(STATUS "check-layers: ${checked} files, every include line follows the layers")
