# Screenshots of the replays in a real window, probed against their traces.
add_test(NAME e2e_stage_screenshots
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/stage_screenshots.sh $<TARGET_FILE:vorlith>
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(e2e_stage_screenshots PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE LABELS e2e)
