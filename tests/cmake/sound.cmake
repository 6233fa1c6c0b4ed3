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

# The WAVE corpus through wavinfo: each file is read with its format and data size, or
# rejected (or fails to read) at the step named; no file may upset the sanitizers or hang.
set(VORLITH_WAV_CORPUS ${PROJECT_SOURCE_DIR}/../shared/corpus/wav)
set(sound_no_crash "Sanitizer|runtime error|Segmentation|Aborted")

# read <file> <tag> <channels> <rate> <bits> <cbSize> <data bytes>
function(vorlith_corpus_read file tag channels rate bits cbsize size)
  add_test(NAME sound.corpus.${file} COMMAND wavinfo ${VORLITH_WAV_CORPUS}/${file})
  set(format "  format: tag=${tag} channels=${channels} rate=${rate} [^\n]* bits=${bits} cbSize=${cbsize}\n")
  set_tests_properties(sound.corpus.${file} PROPERTIES TIMEOUT 30
    PASS_REGULAR_EXPRESSION "${format}(  extra: [^\n]*\n)?  data: ${size} bytes\n(  first: [^\n]*\n)?  read: ${size} bytes\n"
    FAIL_REGULAR_EXPRESSION "${sound_no_crash}")
endfunction()

# rejected <file> <step>; unreadable <file> <data bytes> <step> (opens, reading fails)
function(vorlith_corpus_rejected file step)
  add_test(NAME sound.corpus.${file} COMMAND wavinfo ${VORLITH_WAV_CORPUS}/${file})
  set_tests_properties(sound.corpus.${file} PROPERTIES TIMEOUT 30
    PASS_REGULAR_EXPRESSION "  rejected: ${step} hr=E_FAIL \\(0x80004005\\)\n  trace: [^\n]*WaveFile.cpp\\([0-9]+\\): ${step} hr=E_FAIL"
    FAIL_REGULAR_EXPRESSION "${sound_no_crash}")
endfunction()

function(vorlith_corpus_unreadable file size step)
  add_test(NAME sound.corpus.${file} COMMAND wavinfo ${VORLITH_WAV_CORPUS}/${file})
  set_tests_properties(sound.corpus.${file} PROPERTIES TIMEOUT 30
    PASS_REGULAR_EXPRESSION "  data: ${size} bytes\n  read: failed [^\n]*\n  trace: [^\n]*WaveFile.cpp\\([0-9]+\\): ${step} hr=E_FAIL"
    FAIL_REGULAR_EXPRESSION "${sound_no_crash}")
endfunction()

if(EXISTS ${VORLITH_WAV_CORPUS})
  vorlith_corpus_read(pluck-pcm8.wav 1 2 11025 8 0 6614)
  vorlith_corpus_read(pluck-pcm16.wav 1 2 11025 16 0 13228)
  vorlith_corpus_read(pluck-pcm24-ext.wav 65534 2 11025 24 22 19842)
  vorlith_corpus_read(coin.wav 1 1 22050 8 0 18069)
  vorlith_corpus_read(spring.wav 1 1 22050 16 0 31218)
  vorlith_corpus_read(buttonfx.wav 1 2 22050 16 0 88200)
  vorlith_corpus_read(sound.wav 1 1 44100 32 0 97468)
  vorlith_corpus_read(heli.wav 1 1 44100 16 0 122956)
  vorlith_corpus_read(heli_adpcm.wav 2 1 44073 4 32 33600)
  vorlith_corpus_rejected(musicmono_xwma.wav mmioFOURCC)
  vorlith_corpus_read(waveformatex-ieeefloat-44100Hz-mono.wav 3 1 44100 32 0 16)
  vorlith_corpus_read(waveformatextensible-ieeefloat-44100Hz-mono.wav 65534 1 44100 32 22 16)
  vorlith_corpus_read(nonstandard-01.wav 1 2 48000 24 0 6)
  vorlith_corpus_read(waveformatex-8bit-11025Hz-mono.wav 1 1 11025 8 0 4)
  vorlith_corpus_read(test-8000Hz-le-1ch-1byte-ulaw.wav 7 1 8000 8 0 9)
  vorlith_corpus_read(test-8000Hz-le-5ch-9S-5bit.wav 1 5 8000 5 0 45)
  vorlith_corpus_unreadable(test-44100Hz-le-1ch-4bytes-early-eof.wav 17640 mmioinfoIn.pchNext)
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
