# The browser build (emcmake cmake -B build-web): the game and its platform layer built by
# emscripten for a web page, in build-web/page/ with nothing else beside it (the folder to
# serve): vorlith.html (src/platform/web/vorlith.html), vorlith.js,
# vorlith.wasm and vorlith.data (the game's models, preloaded into the page's file system at
# /data/model; its sounds are the program's resources, made at start-up by the synthesiser
# that wrote data/sound/, read when no sound file is there). SDL, Assimp, fontconfig and the tools, tests and install rules that need them are
# left out.
if(NOT CMAKE_BUILD_TYPE OR CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo")
  set(CMAKE_BUILD_TYPE Release CACHE STRING "" FORCE)
endif()
# Optimized for size: measured in headless Chromium against -O3, the wasm is 58 KB smaller
# (379,555 bytes against 437,456) and the busiest boss frame no slower (8.0 ms against 16.5
# unpaced, on a loaded machine); -Oz takes 6 KB more off -Os, the boss frame no slower.
set(CMAKE_C_FLAGS_RELEASE "-Oz -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE "-Oz -DNDEBUG")
# emcc's optimizer runs on Node.js and needs Debian's modules (acorn).
set(ENV{NODE_PATH} /usr/share/nodejs)

set(web ${PROJECT_SOURCE_DIR}/src/platform/web)
add_subdirectory(${PROJECT_SOURCE_DIR}/src/base)
add_library(vorlith_platform STATIC
  # browser/: the platform assembled
  src/platform/browser/BrowserPlatform.cpp
  src/platform/gl/GlLineRenderer.cpp
  src/platform/gl/GlMeshStore.cpp
  src/platform/gl/GlPauseLabel.cpp
  src/platform/gl/GlPresentCopy.cpp
  src/platform/gl/GlProgram.cpp
  src/platform/gl/GlRenderDevice.cpp
  src/platform/gl/GlShaders.cpp
  src/platform/gl/GlTextRenderer.cpp
  src/platform/gl/GlTextureStore.cpp
  src/platform/gl/GlWarmUp.cpp
  src/platform/gl/GlWebContext.cpp
  src/platform/gl/GlWebTextureFile.cpp
  src/platform/openal/AudioLibraryNoise.cpp
  src/platform/openal/OpenAlAudioSystem.cpp
  src/platform/posix/FileIdentity.cpp
  src/platform/posix/FileLock.cpp
  src/platform/posix/InputFile.cpp
  src/platform/posix/ImageFile.cpp
  src/platform/posix/OutputFile.cpp
  src/platform/posix/PlayerFiles.cpp
  src/platform/posix/PosixSignals.cpp
  src/platform/posix/RegularFile.cpp
  src/platform/portable/FileIdentity.cpp
  src/platform/portable/OutputFile.cpp
  src/platform/portable/RegularFileRead.cpp
  src/platform/headless/HeadlessPlatform.cpp
  src/platform/headless/HeadlessRenderDevice.cpp
  src/platform/headless/HeadlessWindow.cpp
  src/platform/headless/SilentAudioSystem.cpp
  src/platform/headless/StderrDialogs.cpp
  src/platform/web/ExecutablePath.cpp
  src/platform/web/GestureAudioSystem.cpp
  src/platform/web/HeldAudioDevice.cpp
  src/platform/web/PlayerFolders.cpp
  src/platform/web/PngFile.cpp
  src/platform/web/WebClock.cpp
  src/platform/web/WebDialogs.cpp
  src/platform/web/WebGamepads.cpp
  src/platform/web/WebInputDevices.cpp
  src/platform/web/WebKeyCodes.cpp
  src/platform/web/WebMainLoop.cpp
  src/platform/web/WebWindow.cpp
)
target_include_directories(vorlith_platform PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(vorlith_platform PUBLIC vorlith_base)

# The model loader and the font rasterizer of the page, with the build steps that make
# their data (the models converted by the desktop's loader, the subset fonts beside the
# page): WebAssets.cmake sets VORLITH_WEB_DATA_DIR to that data and VORLITH_WEB_PAGE_DIR to
# the page's folder.
set(VORLITH_WEB_DATA_DIR ${PROJECT_SOURCE_DIR}/data)
set(VORLITH_WEB_PAGE_DIR ${CMAKE_BINARY_DIR}/page)
include(${PROJECT_SOURCE_DIR}/cmake/WebAssets.cmake)

include(${PROJECT_SOURCE_DIR}/cmake/GameCore.cmake)
set_target_properties(vorlith PROPERTIES SUFFIX ".js"
                                         RUNTIME_OUTPUT_DIRECTORY ${VORLITH_WEB_PAGE_DIR})
target_compile_definitions(vorlith PRIVATE VORLITH_DATA_FROM_BINDIR="data"
                                           VORLITH_SOURCE_DATA_DIR="/data")
target_link_options(vorlith PRIVATE
  -sENVIRONMENT=web
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
  -sALLOW_MEMORY_GROWTH=1
  -sEXIT_RUNTIME=0
  "-sEXPORTED_RUNTIME_METHODS=['callMain']"  # the page's "Play again"
  -lopenal
  -lidbfs.js  # the player's files kept in the browser's IndexedDB
  # The smaller allocator: 8 KB less wasm. The game allocates nothing per frame; measured in
  # turns on a machine at load 13, the boss replay in the page ran at 75 to 83 frames/s with
  # it against 84 to 87 with dlmalloc, its busiest frame 8 to 13 ms against 16 to 27: the
  # same within that machine's noise.
  -sMALLOC=emmalloc
  "SHELL:--pre-js ${web}/vorlith-pre.js" "SHELL:--pre-js ${web}/PlayerStorage.js"
  "SHELL:--preload-file ${VORLITH_WEB_DATA_DIR}/model@/data/model")
# A message box waits for its OK (WebDialogs sleeps); only the functions that can be on the
# stack then are rewritten to be suspended. Calls through a pointer are taken as never
# sleeping, so the list names every function that reaches a message box through one: the
# classes that show one (their functions inlined into one another stay inside the list),
# the page's loop (dynCall_v: the browser calls it through that export), the lambdas it
# runs and std::function's calls (their callers follow by themselves). A function that shows
# a message box from a class not listed here must be added.
set(asyncify_add
  "vorlith::RecordingDialogs::ShowMessage*" "vorlith::WindowApp::*" "vorlith::GameApp::*"
  "vorlith::CStage::*" "vorlith::SetUpStage*" "vorlith::MoverManager::*"
  "vorlith::ModelRegistry::*" "vorlith::TextFont::*" "vorlith::Sound::*"
  "vorlith::SoundManager::*" "vorlith::PlayerRecords::*" "main" "dynCall_v" "*RunBrowserPass*"
  "*RunInBrowser*" "*KeepRuns*"
  "std::__2::function<*>::operator()*" "std::__2::__function::__value_func<*>::operator()*"
  "std::__2::__function::__func<*>::operator()*")
list(JOIN asyncify_add "','" asyncify_add)
target_link_options(vorlith PRIVATE -sASYNCIFY -sASYNCIFY_IGNORE_INDIRECT
                                    "-sASYNCIFY_ADD=['${asyncify_add}']")
set_property(TARGET vorlith APPEND PROPERTY LINK_DEPENDS ${web}/vorlith-pre.js
                                                    ${web}/PlayerStorage.js)
# The JavaScript minified further than emcc does (names inside functions, dead code); the
# names the page uses (Module, FS and the page's own functions) are global and kept.
find_program(VORLITH_TERSER terser REQUIRED)
add_custom_command(TARGET vorlith POST_BUILD
  COMMAND ${VORLITH_TERSER} vorlith.js --compress --mangle -o vorlith.js
  WORKING_DIRECTORY ${VORLITH_WEB_PAGE_DIR} VERBATIM)
if(TARGET vorlith_web_data)
  add_dependencies(vorlith vorlith_web_data)
endif()
# The page as served: its comment lines and indentation left out (2.5 KB).
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${web}/vorlith.html)
file(READ ${web}/vorlith.html page)
string(REGEX REPLACE "\n[ \t]+" "\n" page "${page}")
string(REGEX REPLACE "\n(//|<!--)[^\n]*" "" page "${page}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/vorlith.html "${page}")
configure_file(${CMAKE_CURRENT_BINARY_DIR}/vorlith.html ${VORLITH_WEB_PAGE_DIR}/vorlith.html
               COPYONLY)

enable_testing()
