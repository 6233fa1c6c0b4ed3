# Screenshots of the replays in a real window, probed against their traces.
add_test(NAME e2e_stage_screenshots
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/stage_screenshots.sh $<TARGET_FILE:vorlith>
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(e2e_stage_screenshots PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE LABELS e2e)

# A player's first seconds with real keys, the score changing and the shots heard in the mix.
add_test(NAME e2e_play_with_keys
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/play_with_keys.sh $<TARGET_FILE:vorlith>
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(e2e_play_with_keys PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE LABELS e2e)

# A live run that ends in Game Over and V: its score and a replay that plays back to it kept.
add_test(NAME e2e_records
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/records.sh $<TARGET_FILE:vorlith>
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(e2e_records PROPERTIES TIMEOUT 400 RUN_SERIAL TRUE LABELS e2e)

# Settings as a player meets them: a rebound fire key, the volume measured in the mix, the
# options screen writing settings.ini.
add_test(NAME e2e_settings
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/settings.sh $<TARGET_FILE:vorlith>
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(e2e_settings PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE LABELS e2e)
