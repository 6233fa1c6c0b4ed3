# Resources linked into the test program: a sound under type "WAV" and an empty one.
vorlith_embed_resources(TARGET vorlith_tests SYMBOL kTestResources REGISTER ENTRIES
  "./test/shot_as_wav.wav" WAV ${PROJECT_SOURCE_DIR}/data/sound/se_sad04.wav
  "./test/empty.wav" WAVE ${PROJECT_SOURCE_DIR}/tests/data/empty.wav)
