# Fails when a source file includes a header of a subsystem it may not use.
# Subsystems depend only downwards: geometry <- system <- loader <- rendering <- main,
# except that geometry and system know nothing of each other.
# Run as: cmake -DROOT=<source dir> -DSTAMP=<file> -P check_layering.cmake
set(rules
  "src/data/geometry|system/|rendering/"
  "src/system|data/|system/loader/|rendering/"
  "src/system/loader|rendering/"
)
set(errors "")
foreach(rule IN LISTS rules)
  string(REPLACE "|" ";" parts "${rule}")
  list(GET parts 0 dir)
  list(SUBLIST parts 1 -1 forbidden)
  file(GLOB files ${ROOT}/${dir}/*.h ${ROOT}/${dir}/*.cpp)
  foreach(f IN LISTS files)
    file(STRINGS ${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE ".*\"([^\"]*)\".*" "\\1" header "${line}")
      foreach(prefix IN LISTS forbidden)
        string(FIND "${header}" "${prefix}" at)
        if(at EQUAL 0)
          string(APPEND errors "${f}: may not include \"${header}\"\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()
if(errors)
  message(FATAL_ERROR "Subsystem layering broken:\n${errors}")
endif()
file(TOUCH ${STAMP})
