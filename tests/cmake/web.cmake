# The browser build played in headless Chromium (tests/web/): built once into web/ of this
# build tree, then the page checks and every committed replay against its committed trace.
set(VORLITH_WEB_BUILD ${CMAKE_BINARY_DIR}/web)
add_test(NAME web.build
  COMMAND ${CMAKE_COMMAND} -E env VORLITH_MESH_CONVERT=$<TARGET_FILE:mesh_convert>
          bash ${PROJECT_SOURCE_DIR}/scripts/build-web.sh ${VORLITH_WEB_BUILD})
set_tests_properties(web.build PROPERTIES TIMEOUT 1800 FIXTURES_SETUP web LABELS web)

add_test(NAME web.page
  COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tests/web/page_test.py ${VORLITH_WEB_BUILD})
set_tests_properties(web.page PROPERTIES TIMEOUT 600 FIXTURES_REQUIRED web LABELS web
                                         RUN_SERIAL TRUE)

file(GLOB web_replays CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/replays/*.replay)
foreach(replay ${web_replays})
  get_filename_component(name ${replay} NAME_WE)
  add_test(NAME web.replay.${name}
    COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tests/web/replay_test.py
            ${VORLITH_WEB_BUILD} ${replay})
  set_tests_properties(web.replay.${name} PROPERTIES TIMEOUT 1200 FIXTURES_REQUIRED web
                                                     LABELS web RUN_SERIAL TRUE)
endforeach()
