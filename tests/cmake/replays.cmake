# Every tests/replays/NAME.replay is played headless and unpaced through the program and its
# trace compared frame by frame with the committed NAME.trace (tests/replays/regenerate.py
# writes those anew when an outcome is meant to change).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
file(GLOB VORLITH_REPLAYS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/replays/*.replay)
foreach(replay ${VORLITH_REPLAYS})
  get_filename_component(name ${replay} NAME_WE)
  add_test(NAME replay.${name}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/replays/run_replay.py
            $<TARGET_FILE:vorlith> ${PROJECT_SOURCE_DIR}/data ${replay})
  set_tests_properties(replay.${name} PROPERTIES TIMEOUT 900)
endforeach()
