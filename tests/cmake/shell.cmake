# End-to-end runs of the real program in a virtual X server (Xvfb with evilwm).
add_test(NAME e2e_window_modes
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/window_modes.sh $<TARGET_FILE:vorlith>
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(e2e_window_modes PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE LABELS e2e)

# Bad option values on the real program, with SDL's offscreen video driver.
add_test(NAME e2e_bad_options
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/bad_options.sh $<TARGET_FILE:vorlith>
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(e2e_bad_options PROPERTIES TIMEOUT 300 LABELS e2e)

# The SDL window's tests push SDL events of their own.
target_link_libraries(vorlith_tests PRIVATE PkgConfig::SDL2)
