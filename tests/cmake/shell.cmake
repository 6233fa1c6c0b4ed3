# End-to-end runs of the real program in a virtual X server (Xvfb with evilwm).
add_test(NAME e2e_window_modes
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/window_modes.sh $<TARGET_FILE:vorlith>
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(e2e_window_modes PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE LABELS e2e)

# The command line on the real program, with SDL's offscreen video driver: bad option values,
# help, version and usage errors.
add_test(NAME e2e_command_line
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/command_line.sh $<TARGET_FILE:vorlith>
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(e2e_command_line PROPERTIES TIMEOUT 300 LABELS e2e)

# P pauses and goes on in a real window: the label on screen, no frames and no CPU while
# paused, and the live session, recorded with its pause, played back headless with the same
# trace (the replay round trip).
add_test(NAME e2e_pause
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/pause.sh $<TARGET_FILE:vorlith>
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(e2e_pause PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE LABELS e2e)

# A committed replay in a real window, disturbed by mode switches, focus changes and the
# repaints they bring: the headless trace.
add_test(NAME e2e_disturbed_replay
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/disturbed_replay.sh $<TARGET_FILE:vorlith>
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(e2e_disturbed_replay PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE LABELS e2e)
