# Every third-party library comes from Debian's packages (scripts/install-deps.sh).
find_package(Boost 1.74 REQUIRED COMPONENTS filesystem system date_time)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(GLUT REQUIRED)
find_package(GLEW REQUIRED)

find_path(FREEIMAGE_INCLUDE_DIR FreeImage.h REQUIRED)
find_library(FREEIMAGE_LIBRARY freeimage REQUIRED)
add_library(FreeImage::FreeImage UNKNOWN IMPORTED)
set_target_properties(FreeImage::FreeImage PROPERTIES
  IMPORTED_LOCATION ${FREEIMAGE_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${FREEIMAGE_INCLUDE_DIR})

find_package(GTest REQUIRED)
if(VANTOR_BENCHMARKS)
  find_package(benchmark REQUIRED)
endif()
