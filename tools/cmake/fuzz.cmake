# libFuzzer targets (clang only): cmake -DVORLITH_FUZZ=ON -DVORLITH_SANITIZE=ON
#   -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
# then run e.g. build-fuzz/fuzz/wave_file_fuzzer -max_total_time=600 corpus-dir
if(VORLITH_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(WARNING "VORLITH_FUZZ needs clang; no fuzz targets built")
  else()
    target_compile_options(vorlith_core PRIVATE -fsanitize=fuzzer-no-link)
    target_compile_options(vorlith_platform PRIVATE -fsanitize=fuzzer-no-link)
    add_executable(wave_file_fuzzer ${PROJECT_SOURCE_DIR}/fuzz/WaveFileFuzzer.cpp)
    set_target_properties(wave_file_fuzzer PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    target_compile_options(wave_file_fuzzer PRIVATE -fsanitize=fuzzer)
    target_link_options(wave_file_fuzzer PRIVATE -fsanitize=fuzzer)
    target_link_libraries(wave_file_fuzzer PRIVATE vorlith_core)
    add_executable(x_model_fuzzer ${PROJECT_SOURCE_DIR}/fuzz/XModelFuzzer.cpp)
    set_target_properties(x_model_fuzzer PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    target_compile_options(x_model_fuzzer PRIVATE -fsanitize=fuzzer)
    target_link_options(x_model_fuzzer PRIVATE -fsanitize=fuzzer)
    target_link_libraries(x_model_fuzzer PRIVATE vorlith_core)
    # The replay parser and what it uses, built into the target itself (no platform needed).
    add_executable(replay_script_fuzzer ${PROJECT_SOURCE_DIR}/fuzz/ReplayScriptFuzzer.cpp
      ${PROJECT_SOURCE_DIR}/src/replay/ReplayParser.cpp ${PROJECT_SOURCE_DIR}/src/replay/ReplayScript.cpp
      ${PROJECT_SOURCE_DIR}/src/replay/ReplayStream.cpp ${PROJECT_SOURCE_DIR}/src/replay/ReplayFormat.cpp
      ${PROJECT_SOURCE_DIR}/src/platform/posix/InputFile.cpp ${PROJECT_SOURCE_DIR}/src/base/Utf8.cpp)
    set_target_properties(replay_script_fuzzer PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    target_include_directories(replay_script_fuzzer PRIVATE ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(replay_script_fuzzer PRIVATE -fsanitize=fuzzer)
    target_link_options(replay_script_fuzzer PRIVATE -fsanitize=fuzzer)
  endif()
endif()
