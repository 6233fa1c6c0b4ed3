# The SDL window's tests push SDL events of their own.
target_link_libraries(vorlith_tests PRIVATE PkgConfig::SDL2)
# Resources linked into the test program: a sound under type "WAV" and an empty one.
vorlith_embed_resources(TARGET vorlith_tests SYMBOL kTestResources REGISTER ENTRIES
  "./test/shot_as_wav.wav" WAV ${PROJECT_SOURCE_DIR}/data/sound/se_sad04.wav
  "./test/empty.wav" WAVE ${PROJECT_SOURCE_DIR}/tests/data/empty.wav)

# OpenAL Soft reads its configuration once per process: the runs that need an output of their
# own are entries of their own, with the wave backend writing the mix to the file given.
# vorlith_openal_test(<name> <test name pattern> <mix file> <environment>)
function(vorlith_openal_test name pattern mix environment)
  file(WRITE ${CMAKE_BINARY_DIR}/alsoft-${name}.conf "[general]\ndrivers = wave\n\n[wave]\nfile = ${mix}\n")
  add_test(NAME sound.${name} COMMAND vorlith_tests --gtest_filter=OpenAlAudioTest.${pattern}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/data)
  set_tests_properties(sound.${name} PROPERTIES ENVIRONMENT
    "ALSOFT_CONF=${CMAKE_BINARY_DIR}/alsoft-${name}.conf;ALSOFT_DRIVERS=wave;${environment}")
endfunction()
vorlith_openal_test(openal_wave_output WaveOutput* ${CMAKE_BINARY_DIR}/openal-mix.wav
  VORLITH_WAVE_OUTPUT=${CMAKE_BINARY_DIR}/openal-mix.wav)
# The only output OpenAL Soft may use writes to a directory that does not exist.
vorlith_openal_test(openal_no_output_fallback WithoutAnOutput*
  ${CMAKE_BINARY_DIR}/no-such-directory/mix.wav VORLITH_EXPECT_NO_AUDIO_OUTPUT=1)

# The WAVE corpus through wavinfo: each file is read with its format and data size, or
# rejected (or fails to read) at the step named; no file may upset the sanitizers or hang.
# Registered only where the corpus is (a fresh clone may not have it beside it).
set(VORLITH_WAV_CORPUS ${VORLITH_CORPUS_DIR}/wav)
set(sound_no_crash "Sanitizer|runtime error|Segmentation|Aborted")
set(sound_trace "  trace: [^\n]*WaveFile.cpp\\([0-9]+\\): ")

# vorlith_corpus(<file> read <tag> <channels> <rate> <bits> <cbSize> <data bytes>)
# vorlith_corpus(<file> rejected <step>)
# vorlith_corpus(<file> unreadable <data bytes> <step>)   (opens, reading fails)
function(vorlith_corpus file how)
  if(how STREQUAL "read")
    set(pass "  format: tag=${ARGV2} channels=${ARGV3} rate=${ARGV4} [^\n]* bits=${ARGV5} cbSize=${ARGV6}\n(  extra: [^\n]*\n)?  data: ${ARGV7} bytes\n(  first: [^\n]*\n)?  read: ${ARGV7} bytes\n")
  elseif(how STREQUAL "rejected")
    set(pass "  rejected: ${ARGV2} hr=E_FAIL \\(0x80004005\\)\n${sound_trace}${ARGV2} hr=E_FAIL")
  else()
    set(pass "  data: ${ARGV2} bytes\n  read: failed [^\n]*\n${sound_trace}${ARGV3} hr=E_FAIL")
  endif()
  add_test(NAME sound.corpus.${file} COMMAND wavinfo ${VORLITH_WAV_CORPUS}/${file})
  set_tests_properties(sound.corpus.${file} PROPERTIES TIMEOUT 30
    PASS_REGULAR_EXPRESSION "${pass}" FAIL_REGULAR_EXPRESSION "${sound_no_crash}")
endfunction()

if(EXISTS ${VORLITH_WAV_CORPUS})
  vorlith_corpus(pluck-pcm8.wav read 1 2 11025 8 0 6614)
  vorlith_corpus(pluck-pcm16.wav read 1 2 11025 16 0 13228)
  vorlith_corpus(pluck-pcm24-ext.wav read 65534 2 11025 24 22 19842)
  vorlith_corpus(coin.wav read 1 1 22050 8 0 18069)
  vorlith_corpus(spring.wav read 1 1 22050 16 0 31218)
  vorlith_corpus(buttonfx.wav read 1 2 22050 16 0 88200)
  vorlith_corpus(sound.wav read 1 1 44100 32 0 97468)
  vorlith_corpus(heli.wav read 1 1 44100 16 0 122956)
  vorlith_corpus(heli_adpcm.wav read 2 1 44073 4 32 33600)
  vorlith_corpus(musicmono_xwma.wav rejected mmioFOURCC)
  vorlith_corpus(waveformatex-ieeefloat-44100Hz-mono.wav read 3 1 44100 32 0 16)
  vorlith_corpus(waveformatextensible-ieeefloat-44100Hz-mono.wav read 65534 1 44100 32 22 16)
  vorlith_corpus(nonstandard-01.wav read 1 2 48000 24 0 6)
  vorlith_corpus(waveformatex-8bit-11025Hz-mono.wav read 1 1 11025 8 0 4)
  vorlith_corpus(test-8000Hz-le-1ch-1byte-ulaw.wav read 7 1 8000 8 0 9)
  vorlith_corpus(test-8000Hz-le-5ch-9S-5bit.wav read 1 5 8000 5 0 45)
  vorlith_corpus(test-44100Hz-le-1ch-4bytes-early-eof.wav unreadable 17640 mmioinfoIn.pchNext)
else()
  # Without the corpus its runs are missing: shown as skipped, and failed where CI is set.
  add_test(NAME sound.corpus COMMAND sh -c "echo \"no WAVE corpus at $0\"; [ -z \"$CI\" ] && exit 77"
    ${VORLITH_WAV_CORPUS})
  set_tests_properties(sound.corpus PROPERTIES SKIP_RETURN_CODE 77)
endif()

# The game's own sounds and the inputs the fuzzer once found troublesome.
add_test(NAME sound.game_sounds COMMAND wavinfo
  ${PROJECT_SOURCE_DIR}/data/sound/se_sad04.wav ${PROJECT_SOURCE_DIR}/data/sound/se_sob02.wav)
set_tests_properties(sound.game_sounds PROPERTIES TIMEOUT 30
  PASS_REGULAR_EXPRESSION "se_sad04.wav\n  format: tag=1 channels=1 rate=44100 [^\n]* bits=16 cbSize=0\n(  [^\n]*\n)*[^\n]*se_sob02.wav\n  format: tag=1 channels=1 rate=44100 [^\n]* bits=16 cbSize=0\n")
file(GLOB VORLITH_WAV_REGRESSIONS ${PROJECT_SOURCE_DIR}/tests/data/wav-regressions/*)
if(VORLITH_WAV_REGRESSIONS)
  # Rejections (status 1) are expected; a crash or a usage error is not.
  add_test(NAME sound.fuzz_regressions
    COMMAND sh -c "\"$0\" \"$@\"; test $? -le 1" $<TARGET_FILE:wavinfo> ${VORLITH_WAV_REGRESSIONS})
  set_tests_properties(sound.fuzz_regressions PROPERTIES TIMEOUT 60
    FAIL_REGULAR_EXPRESSION "${sound_no_crash}")
endif()
