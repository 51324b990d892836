# Warnings for the project's own targets; third-party headers come in as
# system includes, so they never trip these.
function(vantor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(VANTOR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# A static library of one subsystem, made of every source file in the given
# directories. Includes are written from src/.
function(vantor_subsystem target)
  set(sources)
  foreach(dir IN LISTS ARGN)
    file(GLOB dir_sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${dir_sources})
  endforeach()
  if(NOT sources)
    # A subsystem not written yet still links, so its neighbours can build.
    set(sources ${CMAKE_CURRENT_BINARY_DIR}/${target}_empty.cpp)
    file(WRITE ${sources} "")
  endif()
  add_library(${target} STATIC ${sources})
  set_target_properties(${target} PROPERTIES LINKER_LANGUAGE CXX)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  vantor_warnings(${target})
  add_dependencies(${target} layering)
endfunction()

# Checked on every build, before any library compiles: an include that points
# up the subsystem order breaks the build.
function(vantor_layering_check)
  file(GLOB_RECURSE all_sources CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/src/*.h ${PROJECT_SOURCE_DIR}/src/*.cpp)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/layering.stamp
    COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR}
            -DSTAMP=${CMAKE_BINARY_DIR}/layering.stamp
            -P ${PROJECT_SOURCE_DIR}/cmake/check_layering.cmake
    DEPENDS ${all_sources} ${PROJECT_SOURCE_DIR}/cmake/check_layering.cmake
    COMMENT "Checking subsystem layering")
  add_custom_target(layering ALL DEPENDS ${CMAKE_BINARY_DIR}/layering.stamp)
endfunction()
