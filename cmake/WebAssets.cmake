# What the browser build ships beside its code, made at build time:
#
#  - the models: each data/model/*.x converted by the native tool mesh_convert (the desktop's
#    own loader: the same import, checks and helper process) into a mesh file of the SAME
#    name, so "model/enemy.x" in the page's file system holds the binary mesh that
#    src/platform/web/WebModelLoader.cpp reads;
#  - the fonts: IPA Gothic and IPA P Gothic from Debian's fonts-ipafont-gothic, cut down with
#    fonttools' pyftsubset to printable ASCII and the characters of the game's sources
#    (tools/font_chars.py), renamed (the IPA Font License wants a subset under a name of its
#    own) and written as WOFF2 beside the page, with the licence beside them.
#
# mesh_convert must run on this machine, so it comes from a native (desktop) build:
#   cmake -B build && cmake --build build --target mesh_convert
#   emcmake cmake -B build-web -DVORLITH_MESH_CONVERT=$PWD/build/tools/mesh_convert
# Without the option, build/tools/mesh_convert of the source tree is used when it exists.
#
# Included by cmake/Web.cmake once vorlith_platform exists, it adds the sources below to it,
# loads the fonts with WebFonts.js (a --pre-js of whatever links vorlith_platform), points
# VORLITH_WEB_DATA_DIR at the converted data tree (the models as mesh files; the sounds are
# the resources linked into the program) and VORLITH_WEB_PAGE_DIR at the page's folder, and
# makes them, with the fonts beside the page, in the target vorlith_web_data. The functions
# it uses serve other pages too (tests/web/fontpage):
#   vorlith_web_models(TARGET DATA_DIR)   DATA_DIR/model/*.x as mesh files
#   vorlith_web_fonts(TARGET PAGE_DIR)    PAGE_DIR/vorlith-gothic.woff2, vorlith-pgothic.woff2,
#                                         their code points (.json) and font-licence.txt
# The page loads the fonts through the FontFace API as "Vorlith Gothic" (monospaced, for
# text above 14 pixels) and "Vorlith PGothic" (proportional, small text), as the desktop's
# rasterizer picks IPAGothic and IPAPGothic.

# The source tree this file belongs to (it may be included by a project of its own, such as
# the font test page under tests/web/).
get_filename_component(VORLITH_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

set(VORLITH_MESH_CONVERT "" CACHE FILEPATH
    "mesh_convert of a native build, to convert the models for the browser build")
set(VORLITH_FONT_DIR "/usr/share/fonts/opentype/ipafont-gothic" CACHE PATH
    "Directory of ipag.ttf and ipagp.ttf (Debian's fonts-ipafont-gothic)")
set(VORLITH_FONT_LICENCE "/usr/share/doc/fonts-ipafont-gothic/copyright" CACHE FILEPATH
    "The fonts' licence, shipped beside them")

set(VORLITH_WEB_ASSET_SOURCES
  ${VORLITH_ROOT}/src/platform/web/WebModelLoader.cpp
  ${VORLITH_ROOT}/src/platform/web/WebFontRasterizer.cpp)


function(vorlith_web_models target data_dir)
  set(tool "${VORLITH_MESH_CONVERT}")
  if(NOT tool AND EXISTS "${VORLITH_ROOT}/build/tools/mesh_convert")
    set(tool "${VORLITH_ROOT}/build/tools/mesh_convert")
  endif()
  if(NOT tool OR NOT EXISTS "${tool}")
    message(FATAL_ERROR "The browser build converts its models with a native mesh_convert: "
      "build it first (cmake -B build && cmake --build build --target mesh_convert) and pass "
      "-DVORLITH_MESH_CONVERT=<native build>/tools/mesh_convert")
  endif()
  file(GLOB models CONFIGURE_DEPENDS "${VORLITH_ROOT}/data/model/*.x")
  set(outputs "")
  foreach(model IN LISTS models)
    get_filename_component(name "${model}" NAME)
    set(output "${data_dir}/model/${name}")
    add_custom_command(OUTPUT "${output}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${data_dir}/model"
      COMMAND "${tool}" "${model}" "${output}"
      DEPENDS "${model}" "${tool}"
      COMMENT "Converting model/${name} into a mesh file" VERBATIM)
    list(APPEND outputs "${output}")
  endforeach()
  add_custom_target(${target}_models DEPENDS ${outputs})
  add_dependencies(${target} ${target}_models)
endfunction()

function(vorlith_web_fonts target page_dir)
  find_program(VORLITH_PYFTSUBSET pyftsubset REQUIRED)
  find_program(VORLITH_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    "${VORLITH_ROOT}/src/*.cpp" "${VORLITH_ROOT}/src/*.h")
  set(work "${CMAKE_CURRENT_BINARY_DIR}/webfonts")  # what is made on the way
  set(chars "${work}/font-chars.txt")
  add_custom_command(OUTPUT "${chars}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${work}"
    COMMAND "${VORLITH_SYSTEM_PYTHON}" "${VORLITH_ROOT}/tools/font_chars.py" "${chars}"
            ${sources}
    DEPENDS ${sources} "${VORLITH_ROOT}/tools/font_chars.py"
    COMMENT "Collecting the characters the game can show" VERBATIM)
  set(outputs "${page_dir}/font-licence.txt")
  foreach(face "ipag;vorlith-gothic;Vorlith Gothic" "ipagp;vorlith-pgothic;Vorlith PGothic")
    list(GET face 0 source)
    list(GET face 1 name)
    list(GET face 2 family)
    set(subset "${work}/${name}.ttf")
    add_custom_command(OUTPUT "${page_dir}/${name}.woff2" "${page_dir}/${name}.json"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${page_dir}"
      COMMAND "${VORLITH_PYFTSUBSET}" "${VORLITH_FONT_DIR}/${source}.ttf"
              "--text-file=${chars}" "--output-file=${subset}" --layout-features=*
      COMMAND "${VORLITH_SYSTEM_PYTHON}" "${VORLITH_ROOT}/tools/rename_font.py"
              "${subset}" "${page_dir}/${name}.woff2" "${family}" "${page_dir}/${name}.json"
      DEPENDS "${chars}" "${VORLITH_FONT_DIR}/${source}.ttf"
              "${VORLITH_ROOT}/tools/rename_font.py"
      COMMENT "Subsetting ${source}.ttf into ${name}.woff2" VERBATIM)
    list(APPEND outputs "${page_dir}/${name}.woff2" "${page_dir}/${name}.json")
  endforeach()
  set(notice "${VORLITH_ROOT}/cmake/font-notice.txt")
  add_custom_command(OUTPUT "${page_dir}/font-licence.txt"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${page_dir}"
    COMMAND ${CMAKE_COMMAND} -E cat "${notice}" "${VORLITH_FONT_LICENCE}"
            > "${page_dir}/font-licence.txt"
    DEPENDS "${notice}" "${VORLITH_FONT_LICENCE}"
    COMMENT "Placing the fonts' licence beside the page")
  add_custom_target(${target}_fonts DEPENDS ${outputs})
  add_dependencies(${target} ${target}_fonts)
endfunction()

if(EMSCRIPTEN AND TARGET vorlith_platform)
  target_sources(vorlith_platform PRIVATE ${VORLITH_WEB_ASSET_SOURCES})
  target_link_options(vorlith_platform INTERFACE
    "SHELL:--pre-js ${VORLITH_ROOT}/src/platform/web/WebFonts.js")
  set(VORLITH_WEB_DATA_DIR "${CMAKE_BINARY_DIR}/webdata")  # in place of the cache's default
  # The page's files, and nothing else, in a folder of their own (the one that is served).
  set(VORLITH_WEB_PAGE_DIR "${CMAKE_BINARY_DIR}/page")
  add_custom_target(vorlith_web_data ALL)
  vorlith_web_models(vorlith_web_data "${VORLITH_WEB_DATA_DIR}")
  vorlith_web_fonts(vorlith_web_data "${VORLITH_WEB_PAGE_DIR}")
endif()
