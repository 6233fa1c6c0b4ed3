# Installing the game as a Linux game is installed: the program, its data, a desktop entry,
# icons in the hicolor theme, AppStream metainfo and a man page, all below the prefix; an
# uninstall target that removes what the last install wrote; a Debian package by CPack.
#
# Default layout (Debian's for games): <prefix>/games/vorlith and <prefix>/share/games/vorlith.
include(GNUInstallDirs)

set(VORLITH_INSTALL_BINDIR games CACHE STRING "Directory of the program, relative to the prefix")
set(VORLITH_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/games/vorlith
    CACHE STRING "Directory of the game data, relative to the prefix")
foreach(dir VORLITH_INSTALL_BINDIR VORLITH_INSTALL_DATADIR)
  if(IS_ABSOLUTE "${${dir}}")
    message(FATAL_ERROR "${dir} must be relative to the prefix, so that the install can move")
  endif()
endforeach()

# The program looks for its data relative to its own directory (a moved install still works)
# and then in this source tree (the build tree's program, started from anywhere).
file(RELATIVE_PATH VORLITH_DATA_FROM_BINDIR /p/${VORLITH_INSTALL_BINDIR} /p/${VORLITH_INSTALL_DATADIR})
target_compile_definitions(vorlith PRIVATE
  VORLITH_DATA_FROM_BINDIR="${VORLITH_DATA_FROM_BINDIR}"
  VORLITH_SOURCE_DATA_DIR="${PROJECT_SOURCE_DIR}/data")

# The hardening Debian's own builds get from dpkg-buildflags (optimised builds only: the
# fortified functions need the optimiser).
foreach(target vorlith vorlith_core vorlith_platform)
  target_compile_definitions(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
endforeach()
target_link_options(vorlith PRIVATE -Wl,-z,relro -Wl,-z,now)

set(VORLITH_DIST ${PROJECT_SOURCE_DIR}/dist)

# Debian wants the man page and changelog compressed, without a time stamp in the gzip header.
set(VORLITH_GZIPPED)
foreach(source linux/vorlith.6 debian/changelog)
  get_filename_component(name ${source} NAME)
  set(output ${CMAKE_BINARY_DIR}/dist/${name}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist
    COMMAND gzip -9nc ${VORLITH_DIST}/${source} > ${output}
    DEPENDS ${VORLITH_DIST}/${source})
  list(APPEND VORLITH_GZIPPED ${output})
endforeach()
add_custom_target(vorlith_dist_files ALL DEPENDS ${VORLITH_GZIPPED})
# Whatever builds the program (scripts/play.sh builds only it) builds what installing it needs.
add_dependencies(vorlith vorlith_dist_files)

install(TARGETS vorlith RUNTIME DESTINATION ${VORLITH_INSTALL_BINDIR})
if(CMAKE_OBJCOPY)
  # The compilers' version strings: of no use in an installed program (as Debian strips them).
  install(CODE "execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VORLITH_INSTALL_BINDIR}/vorlith\")")
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/model ${PROJECT_SOURCE_DIR}/data/sound
        DESTINATION ${VORLITH_INSTALL_DATADIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/game.ico DESTINATION ${VORLITH_INSTALL_DATADIR})
install(FILES ${VORLITH_DIST}/linux/vorlith.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${VORLITH_DIST}/linux/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${VORLITH_DIST}/linux/org.vorlith.Vorlith.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/dist/vorlith.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${VORLITH_DIST}/debian/copyright ${CMAKE_BINARY_DIR}/dist/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Removes every file the last install listed in install_manifest.txt, then the directories
# that leaves empty, up to the prefix.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
          -P ${CMAKE_CURRENT_LIST_DIR}/Uninstall.cmake
  VERBATIM)

# cpack -G DEB: the package "vorlith" for /usr, dependencies from the libraries it links.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlith)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Vorlith maintainers <maintainers@vorlith.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small single-player shoot-'em-up")
set(CPACK_PACKAGE_DESCRIPTION
    "Steer a small ship inside a square playfield, hold the shot key to fire,\n\
dodge the enemies that come down from the top and their bullet fans,\n\
collect items that heal the ship and speed up its fire, and end the stage\n\
by destroying its boss. Runs can be recorded and replayed frame by frame.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# What is loaded at run time rather than linked, so shlibdeps cannot see it: the face for the
# Japanese texts (through fontconfig) and the OpenGL and EGL libraries SDL opens itself (a
# fresh Debian 12 has neither); the Mesa drivers, the X fonts of SDL's message boxes and the
# opener of the help document are recommended.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, libgl1, libegl1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri, xfonts-base, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
