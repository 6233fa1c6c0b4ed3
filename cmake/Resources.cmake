# Links data files into programs as resources, looked up by name and type at run time
# (src/sound/ModuleResources.h).
#
#   vorlith_embed_resources(TARGET <target> SYMBOL <table> [REGISTER]
#                           ENTRIES <name> <type> <file> [<name> <type> <file> ...])
#
# generates a C++ table <table> of the files and adds it to the target. With REGISTER the
# table adds itself to the lookup at start-up (for programs that link it in directly);
# without, it defines the game's own table, which the lookup names.
set(VORLITH_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedResources.cmake)

function(vorlith_embed_resources)
  cmake_parse_arguments(ARG "REGISTER" "TARGET;SYMBOL" "ENTRIES" ${ARGN})
  list(LENGTH ARG_ENTRIES count)
  math(EXPR remainder "${count} % 3")
  if(count EQUAL 0 OR NOT remainder EQUAL 0)
    message(FATAL_ERROR "vorlith_embed_resources: ENTRIES takes name, type, file triples")
  endif()
  set(output ${CMAKE_BINARY_DIR}/generated/${ARG_SYMBOL}.cpp)
  set(manifest ${CMAKE_BINARY_DIR}/generated/${ARG_SYMBOL}.manifest.cmake)
  set(content "set(SYMBOL ${ARG_SYMBOL})\nset(REGISTER ${ARG_REGISTER})\nset(ENTRIES\n")
  set(files)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 3)
    math(EXPR t "${i} + 1")
    math(EXPR f "${i} + 2")
    list(GET ARG_ENTRIES ${i} name)
    list(GET ARG_ENTRIES ${t} type)
    list(GET ARG_ENTRIES ${f} file)
    get_filename_component(file ${file} ABSOLUTE)
    string(APPEND content "  [==[${name}]==] [==[${type}]==] [==[${file}]==]\n")
    list(APPEND files ${file})
  endforeach()
  string(APPEND content ")\n")
  file(CONFIGURE OUTPUT ${manifest} CONTENT "${content}" @ONLY)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${manifest} -DOUTPUT=${output} -P ${VORLITH_EMBED_SCRIPT}
    DEPENDS ${files} ${manifest} ${VORLITH_EMBED_SCRIPT}
    COMMENT "Linking in resources ${ARG_SYMBOL}"
    VERBATIM)
  target_sources(${ARG_TARGET} PRIVATE ${output})
endfunction()

# The game's sounds, the fallback when a file under ./sound/ is missing. The page makes them
# at start-up with the synthesiser that wrote them (src/sound/SynthesisedSounds.cpp), which
# is far smaller than their samples.
if(NOT EMSCRIPTEN)
  vorlith_embed_resources(TARGET vorlith_core SYMBOL kGameResources ENTRIES
    "./sound/se_sad04.wav" WAVE ${PROJECT_SOURCE_DIR}/data/sound/se_sad04.wav
    "./sound/se_sob02.wav" WAVE ${PROJECT_SOURCE_DIR}/data/sound/se_sob02.wav)
endif()
