# The Windows build (cmake/mingw-w64-x86_64.cmake with VORLITH_WINDOWS_PREFIX, the prefix
# scripts/build-windows.sh builds the dependencies into): vorlith.exe, linked statically with
# everything but SDL2.dll and the system's DLLs, with the fonts it reads in build-dir/fonts/.
# The tools, tests and install rules are left out.
if(NOT VORLITH_WINDOWS_PREFIX)
  message(FATAL_ERROR "VORLITH_WINDOWS_PREFIX names the Windows dependencies' prefix")
endif()
set(prefix ${VORLITH_WINDOWS_PREFIX})
# mingw's GCC 12 sees overlapping copies inside std::string's inlined code at -O3 where there
# are none (GCC bug 105329).
add_compile_options(-Wno-restrict)

add_subdirectory(${PROJECT_SOURCE_DIR}/src/base)
# The float functions of the desktop's C library in place of mingw's (see base/SinCosF.h).
target_compile_definitions(vorlith_base PRIVATE VORLITH_OWN_FLOAT_FUNCTIONS)

add_library(vorlith_platform STATIC
  # windows/: the platform assembled
  src/platform/windows/WindowsFontFile.cpp
  src/platform/windows/WindowsMessageBoxSignals.cpp
  src/platform/windows/WindowsPlatform.cpp
  # sdl/
  src/platform/sdl/ExecutablePath.cpp
  src/platform/sdl/PngFile.cpp
  src/platform/sdl/SdlControllerMappings.cpp
  src/platform/sdl/SdlControllerSet.cpp
  src/platform/sdl/SdlEventWait.cpp
  src/platform/sdl/SdlClock.cpp
  src/platform/sdl/SdlDialogs.cpp
  src/platform/sdl/SdlInputDevices.cpp
  src/platform/sdl/SdlSession.cpp
  src/platform/sdl/SdlVideo.cpp
  src/platform/sdl/SdlWindow.cpp
  src/platform/sdl/TtfFontRasterizer.cpp
  # gl/
  src/platform/gl/GlLineRenderer.cpp
  src/platform/gl/GlMeshStore.cpp
  src/platform/gl/GlPauseLabel.cpp
  src/platform/gl/GlPresentCopy.cpp
  src/platform/gl/GlProgram.cpp
  src/platform/gl/GlRenderDevice.cpp
  src/platform/gl/GlSdlContext.cpp
  src/platform/gl/GlSdlTextureFile.cpp
  src/platform/gl/GlShaders.cpp
  src/platform/gl/GlTextRenderer.cpp
  src/platform/gl/GlTextureStore.cpp
  src/platform/gl/GlWarmUp.cpp
  # sdlaudio/
  src/platform/sdlaudio/AudioMixer.cpp
  src/platform/sdlaudio/SdlAudioSystem.cpp
  # assimp/
  src/platform/assimp/ImportCache.cpp
  src/platform/assimp/XFileCheck.cpp
  src/platform/assimp/XFileTokenizer.cpp
  src/platform/assimp/XModelLoader.cpp
  # win32/ (the image file check is plain C++ on the regular file)
  src/platform/win32/ConsoleSignals.cpp
  src/platform/win32/FileIdentity.cpp
  src/platform/win32/FileLock.cpp
  src/platform/win32/HelperProcess.cpp
  src/platform/win32/InputFile.cpp
  src/platform/win32/OutputFile.cpp
  src/platform/win32/PlayerFiles.cpp
  src/platform/win32/RegularFile.cpp
  src/platform/win32/WideText.cpp
  src/platform/posix/ImageFile.cpp
  # headless/
  src/platform/headless/HeadlessPlatform.cpp
  src/platform/headless/HeadlessRenderDevice.cpp
  src/platform/headless/HeadlessWindow.cpp
  src/platform/headless/SilentAudioSystem.cpp
  src/platform/headless/StderrDialogs.cpp
)
target_include_directories(vorlith_platform PUBLIC ${PROJECT_SOURCE_DIR}/src)
# SDL's headers without its SDL_main redirection: the game's main includes no SDL header.
target_include_directories(vorlith_platform SYSTEM PRIVATE ${prefix}/include
                                                          ${prefix}/include/SDL2)
target_compile_definitions(vorlith_platform PRIVATE SDL_MAIN_HANDLED UNICODE _UNICODE
                                                    WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(vorlith_platform PUBLIC vorlith_base)
# Everything static but SDL2.dll (its import library named by path, so -static keeps it).
target_link_libraries(vorlith_platform PRIVATE
  -lSDL2_ttf -lfreetype -lSDL2_image -lpng16 -lz -lepoxy -lopengl32 -lgdi32 -lassimp -lz
  ${prefix}/lib/libSDL2.dll.a
  -luser32 -lwinmm -limm32 -lole32 -loleaut32 -lversion -luuid -ladvapi32 -lsetupapi -lshell32)
target_link_directories(vorlith_platform PUBLIC ${prefix}/lib)

include(${PROJECT_SOURCE_DIR}/cmake/GameCore.cmake)
target_link_options(vorlith PRIVATE -static)
# The icon (data/game.ico) and the manifest (a UTF-8 code page) as resources.
enable_language(RC)
target_sources(vorlith PRIVATE src/platform/windows/vorlith.rc)
set_property(SOURCE src/platform/windows/vorlith.rc APPEND PROPERTY OBJECT_DEPENDS
             ${PROJECT_SOURCE_DIR}/data/game.ico ${PROJECT_SOURCE_DIR}/src/platform/windows/vorlith.manifest)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I ${PROJECT_SOURCE_DIR}/data -I ${PROJECT_SOURCE_DIR}/src/platform/windows")

# The fonts beside the program, as WindowsFontFile looks for them, and SDL2.dll.
set(VORLITH_FONT_DIR "/usr/share/fonts/opentype/ipafont-gothic" CACHE PATH
    "Directory of ipag.ttf and ipagp.ttf (Debian's fonts-ipafont-gothic)")
add_custom_command(TARGET vorlith POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:vorlith>/fonts
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VORLITH_FONT_DIR}/ipag.ttf
          ${VORLITH_FONT_DIR}/ipagp.ttf $<TARGET_FILE_DIR:vorlith>/fonts/
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${prefix}/bin/SDL2.dll $<TARGET_FILE_DIR:vorlith>
  VERBATIM)
