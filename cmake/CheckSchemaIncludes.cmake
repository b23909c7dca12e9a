# Fails when a file of the layers below the procedures (runtime/, data/, storage/, framework/)
# includes a header of the program's schema (schema/...): those layers reach the program's tables,
# relations, table files and variables only through the catalogue that start-up installs
# (data/Catalogue.h).
#
#   cmake -DSOURCE_DIR=<repository> -P CheckSchemaIncludes.cmake

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "CheckSchemaIncludes: SOURCE_DIR is not set")
endif()

set(checked 0)
set(offenders "")
foreach(layer IN ITEMS runtime data storage framework)
  file(GLOB_RECURSE files "${SOURCE_DIR}/${layer}/*")
  foreach(file IN LISTS files)
    math(EXPR checked "${checked} + 1")
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]schema/")
    foreach(line IN LISTS includes)
      file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
      string(STRIP "${line}" line)
      string(APPEND offenders "\n  ${name}: ${line}")
    endforeach()
  endforeach()
endforeach()

# A tree without those folders would pass without checking anything.
if(checked EQUAL 0)
  message(FATAL_ERROR "CheckSchemaIncludes: no files under runtime/, data/, storage/ or "
                      "framework/ of ${SOURCE_DIR}")
endif()
if(offenders)
  message(FATAL_ERROR "Files below the procedures include the program's schema; they must use "
                      "the installed catalogue (data/Catalogue.h) instead:${offenders}")
endif()
message(STATUS "CheckSchemaIncludes: ${checked} files, none includes schema/")
