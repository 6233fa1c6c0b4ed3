# The frame allocation test replaces the global operator new to count allocations, so it runs
# in a program of its own: the replacement would otherwise reach every other test, the GPU
# drivers' threads included.
add_executable(vorlith_alloc_tests ${PROJECT_SOURCE_DIR}/tests/alloc/FrameAllocationTest.cpp)
target_include_directories(vorlith_alloc_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/unit)
target_link_libraries(vorlith_alloc_tests PRIVATE vorlith_core GTest::gtest GTest::gtest_main)
gtest_discover_tests(vorlith_alloc_tests
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data
  PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=offscreen"
  DISCOVERY_TIMEOUT 60)
