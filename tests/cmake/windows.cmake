# The Windows build (scripts/build-windows.sh into windows/ of this build tree, its
# dependencies built once into their cache) tried under Wine with one prefix for all, each
# script's files in windows-tests/NAME; compared with this build's vorlith. Label windows.
set(windows_build ${CMAKE_BINARY_DIR}/windows)
set(windows_out ${CMAKE_BINARY_DIR}/windows-tests)
add_test(NAME windows.build
  COMMAND ${CMAKE_COMMAND} -E env VORLITH_WINDOWS_BUILD=${windows_build}
          bash ${PROJECT_SOURCE_DIR}/scripts/build-windows.sh)
set_tests_properties(windows.build PROPERTIES TIMEOUT 7200 FIXTURES_SETUP windows LABELS windows
                                              RUN_SERIAL TRUE)

set(windows_env ${CMAKE_COMMAND} -E env WINEPREFIX=${windows_out}/wineprefix)
foreach(check replays hostile package quit records)
  add_test(NAME windows.${check}
    COMMAND ${windows_env} bash ${PROJECT_SOURCE_DIR}/tests/windows/${check}.sh ${windows_build}
            $<TARGET_FILE:vorlith> ${windows_out}/${check})
endforeach()
# In a window: the boss of stage 1 (frame 5100) and the title after the stage (5400).
add_test(NAME windows.windowed
  COMMAND ${windows_env} VORLITH_WINDOWS_OUT=${windows_out}/windowed
          bash ${PROJECT_SOURCE_DIR}/tests/windows/windowed.sh ${windows_build} $<TARGET_FILE:vorlith>
          ${PROJECT_SOURCE_DIR}/tests/replays/boss_stage_clear.replay 5100 5400)
set_tests_properties(windows.replays windows.hostile windows.package windows.quit windows.records
                     windows.windowed
  PROPERTIES TIMEOUT 1800 FIXTURES_REQUIRED windows LABELS windows RUN_SERIAL TRUE)
