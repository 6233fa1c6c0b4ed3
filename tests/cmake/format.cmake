# Every C++ file formatted as .clang-format says (clang-format 14).
find_program(VORLITH_CLANG_FORMAT NAMES clang-format-14 clang-format REQUIRED)
add_test(NAME format
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/check_format.sh ${VORLITH_CLANG_FORMAT})
set_tests_properties(format PROPERTIES TIMEOUT 120)
