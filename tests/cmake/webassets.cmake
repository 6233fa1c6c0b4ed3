# Pieces of the browser build that the desktop build can check.
# Every shipped model converts into a mesh file; a missing one fails with the loader's message
# and leaves no output behind.
add_test(NAME web_mesh_convert
  COMMAND bash -c "dir=$(mktemp -d) && trap 'rm -rf \"$dir\"' EXIT && \
for f in \"$2\"/*.x; do \"$1\" \"$f\" \"$dir/$(basename \"$f\")\" || exit 1; \
head -c 4 \"$dir/$(basename \"$f\")\" | grep -q VMSH || exit 1; done && \
! \"$1\" \"$2/none.x\" \"$dir/none.x\" 2>\"$dir/err\" && \
grep -q 'cannot open model file .*none.x: no such file' \"$dir/err\" && [ ! -e \"$dir/none.x\" ]" _
  $<TARGET_FILE:mesh_convert> ${PROJECT_SOURCE_DIR}/data/model)
set_tests_properties(web_mesh_convert PROPERTIES TIMEOUT 120)

find_program(VORLITH_CHROMIUM chromium)

# The canvas font rasterizer's own page (tests/web/fontpage), built with emscripten and drawn
# in headless Chromium with the subset fonts (where both are installed).
find_program(VORLITH_EMCMAKE emcmake)
if(VORLITH_CHROMIUM AND VORLITH_EMCMAKE)
  set(font_page ${CMAKE_BINARY_DIR}/web-fontpage)
  add_test(NAME web_font_page
    COMMAND bash -c "export NODE_PATH=/usr/share/nodejs && \
emcmake cmake -S \"$1/tests/web/fontpage\" -B \"$2\" >/dev/null && cmake --build \"$2\" >/dev/null && \
/usr/bin/python3 \"$1/tests/web/font_test.py\" \"$2\" \"$2/glyphs.png\"" _
            ${PROJECT_SOURCE_DIR} ${font_page})
  set_tests_properties(web_font_page PROPERTIES TIMEOUT 600 LABELS web)
endif()
