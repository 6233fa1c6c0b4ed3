# Outputs that cannot be written, files named twice, replays not to be read whole and window
# sizes at the ends of int, on the real program (no X server).
add_test(NAME e2e_output_failures
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/output_failures.sh $<TARGET_FILE:vorlith>
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(e2e_output_failures PROPERTIES TIMEOUT 600 LABELS e2e)

# SIGTERM, SIGINT and SIGHUP in headless and windowed runs, a trace into a closed pipe and
# the X server going away: the outputs stay whole (Xvfb with evilwm).
add_test(NAME e2e_signals
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/signals.sh $<TARGET_FILE:vorlith>
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(e2e_signals PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE LABELS e2e)

# SIGTERM, SIGINT, SIGHUP and SIGKILL while a message box is shown, and Esc in a windowed sanitizer
# run with LeakSanitizer on (Xvfb with evilwm).
add_test(NAME e2e_box_signals
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/box_signals.sh $<TARGET_FILE:vorlith>
          ${PROJECT_SOURCE_DIR}/tests/lsan.supp
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(e2e_box_signals PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE LABELS e2e)

# LeakSanitizer reads the project's suppressions in every test run (leaks inside system
# libraries the program cannot free, such as libdbus reached through SDL).
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/lsan_env.cmake
  "set(ENV{LSAN_OPTIONS} \"suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:\$ENV{LSAN_OPTIONS}\")\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_CURRENT_BINARY_DIR}/lsan_env.cmake)
