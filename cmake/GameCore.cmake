# The game code, the same for the desktop and the browser: written against the platform
# interfaces only (vorlith_platform, made before this), each folder listing its sources; and
# the program around it.
add_library(vorlith_core STATIC)
target_include_directories(vorlith_core PUBLIC src ${CMAKE_CURRENT_BINARY_DIR}/generated)
target_link_libraries(vorlith_core PUBLIC vorlith_platform)
target_compile_definitions(vorlith_core PUBLIC VORLITH_VERSION="${PROJECT_VERSION}")
foreach(folder app movers stage input graphics sound replay)
  add_subdirectory(src/${folder})
endforeach()
# The game's sounds linked in as resources (the WAVE reader's fallback).
include(${PROJECT_SOURCE_DIR}/cmake/Resources.cmake)

add_executable(vorlith src/main.cpp)
target_link_libraries(vorlith PRIVATE vorlith_core)
