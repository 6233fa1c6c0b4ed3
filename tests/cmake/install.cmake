# Installing: generated icons, the validators of the desktop files and man page, and the
# installed or moved game started from elsewhere.
add_test(NAME DesktopIconsMatchTheirGenerator
  COMMAND bash -c "dir=$(mktemp -d) && trap 'rm -rf \"$dir\"' EXIT && \"$1\" --desktop \"$dir\" && \
diff -r \"$dir/hicolor\" \"$2/hicolor\" && [ $(find \"$dir\" -type f | wc -l) -eq 7 ]"
  _ $<TARGET_FILE:make_icon> ${PROJECT_SOURCE_DIR}/dist/linux/icons)

add_test(NAME DesktopFilesAndManPageValidate
  COMMAND bash -c "set -e; cd \"$1\"; desktop-file-validate vorlith.desktop; \
appstreamcli validate --no-net org.vorlith.Vorlith.metainfo.xml; mandoc -T lint -W warning vorlith.6"
  _ ${PROJECT_SOURCE_DIR}/dist/linux)

add_test(NAME e2e_data_from_anywhere
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/data_from_anywhere.sh $<TARGET_FILE:vorlith>)
set_tests_properties(e2e_data_from_anywhere PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE LABELS e2e)

add_test(NAME e2e_installed_game
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/installed_game.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e_installed_game PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE LABELS e2e)

# The package as cpack builds it passes lintian (errors and warnings fail the test).
add_test(NAME DebianPackageIsLintianClean
  COMMAND bash -c "dir=$(mktemp -d) && trap 'rm -rf \"$dir\"' EXIT && cd \"$1\" && \
cpack -G DEB -B \"$dir\" >\"$dir/cpack.log\" && lintian --fail-on error,warning -I --pedantic \"$dir\"/vorlith_*.deb"
  _ ${CMAKE_BINARY_DIR})
set_tests_properties(DebianPackageIsLintianClean PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE LABELS package)
