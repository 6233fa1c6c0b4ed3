# The browser build (emcmake cmake -B build-web): the game and its platform layer built by
# emscripten for a web page: vorlith.html (src/platform/web/vorlith.html), vorlith.js,
# vorlith.wasm and vorlith.data (the game's data, preloaded into the page's file system at
# /data). SDL, Assimp, fontconfig and the tools, tests and install rules that need them are
# left out.
if(NOT CMAKE_BUILD_TYPE OR CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo")
  set(CMAKE_BUILD_TYPE Release CACHE STRING "" FORCE)
endif()
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
  src/platform/posix/InputFile.cpp
  src/platform/posix/OutputFile.cpp
  src/platform/headless/HeadlessPlatform.cpp
  src/platform/headless/HeadlessRenderDevice.cpp
  src/platform/headless/HeadlessWindow.cpp
  src/platform/headless/SilentAudioSystem.cpp
  src/platform/headless/StderrDialogs.cpp
  src/platform/web/ExecutablePath.cpp
  src/platform/web/PngFile.cpp
  src/platform/web/WebClock.cpp
  src/platform/web/WebDialogs.cpp
  src/platform/web/WebGamepads.cpp
  src/platform/web/WebInputDevices.cpp
  src/platform/web/WebMainLoop.cpp
  src/platform/web/WebWindow.cpp
)
target_include_directories(vorlith_platform PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(vorlith_platform PUBLIC vorlith_base)

# The model loader and the font rasterizer of the page, with the build steps that make
# their data (the models converted by the desktop's loader, the subset fonts beside the
# page): WebAssets.cmake sets VORLITH_WEB_DATA_DIR to that data.
set(VORLITH_WEB_DATA_DIR ${PROJECT_SOURCE_DIR}/data)
include(${PROJECT_SOURCE_DIR}/cmake/WebAssets.cmake)

include(${PROJECT_SOURCE_DIR}/cmake/GameCore.cmake)
set_target_properties(vorlith PROPERTIES SUFFIX ".js")
target_compile_definitions(vorlith PRIVATE VORLITH_DATA_FROM_BINDIR="data"
                                           VORLITH_SOURCE_DATA_DIR="/data")
target_link_options(vorlith PRIVATE
  -sENVIRONMENT=web
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
  -sALLOW_MEMORY_GROWTH=1
  -sASYNCIFY  # message boxes wait for their OK in the page
  -sEXIT_RUNTIME=0
  -lopenal
  "SHELL:--pre-js ${web}/vorlith-pre.js"
  "SHELL:--preload-file ${VORLITH_WEB_DATA_DIR}/model@/data/model"
  "SHELL:--preload-file ${VORLITH_WEB_DATA_DIR}/sound@/data/sound")
set_property(TARGET vorlith APPEND PROPERTY LINK_DEPENDS ${web}/vorlith-pre.js)
if(TARGET vorlith_web_data)
  add_dependencies(vorlith vorlith_web_data)
endif()
configure_file(${web}/vorlith.html ${CMAKE_BINARY_DIR}/vorlith.html COPYONLY)

enable_testing()
