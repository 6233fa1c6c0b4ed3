# Resources linked into the test program: a sound under type "WAV" and an empty one.
vorlith_embed_resources(TARGET vorlith_tests SYMBOL kTestResources REGISTER ENTRIES
  "./test/shot_as_wav.wav" WAV ${PROJECT_SOURCE_DIR}/data/sound/se_sad04.wav
  "./test/empty.wav" WAVE ${PROJECT_SOURCE_DIR}/tests/data/empty.wav)

# OpenAL Soft reads its configuration once per process: the runs that need their own
# configuration are entries of their own.
set(VORLITH_WAVE_OUTPUT ${CMAKE_BINARY_DIR}/openal-mix.wav)
file(WRITE ${CMAKE_BINARY_DIR}/alsoft-wave.conf
  "[general]\ndrivers = wave\n\n[wave]\nfile = ${VORLITH_WAVE_OUTPUT}\n")
add_test(NAME sound.openal_wave_output
  COMMAND vorlith_tests --gtest_filter=OpenAlWaveOutputTest.*
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(sound.openal_wave_output PROPERTIES
  ENVIRONMENT "ALSOFT_CONF=${CMAKE_BINARY_DIR}/alsoft-wave.conf;ALSOFT_DRIVERS=wave;VORLITH_WAVE_OUTPUT=${VORLITH_WAVE_OUTPUT}"
  RESOURCE_LOCK openal_wave_output)

# The only output OpenAL Soft may use writes to a directory that does not exist.
file(WRITE ${CMAKE_BINARY_DIR}/alsoft-no-output.conf
  "[general]\ndrivers = wave\n\n[wave]\nfile = ${CMAKE_BINARY_DIR}/no-such-directory/mix.wav\n")
add_test(NAME sound.openal_no_output_fallback
  COMMAND vorlith_tests --gtest_filter=OpenAlFallbackTest.*
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
set_tests_properties(sound.openal_no_output_fallback PROPERTIES
  ENVIRONMENT "ALSOFT_CONF=${CMAKE_BINARY_DIR}/alsoft-no-output.conf;ALSOFT_DRIVERS=wave;VORLITH_EXPECT_NO_AUDIO_OUTPUT=1")
