# Includes point down the folder layering, platform libraries and backend folders stay in
# src/platform/, and every source file is in its folder's list (tests/layering.sh).
add_test(NAME layering COMMAND bash ${PROJECT_SOURCE_DIR}/tests/layering.sh ${PROJECT_SOURCE_DIR})
set_tests_properties(layering PROPERTIES TIMEOUT 60)
# A fault planted against each of those rules in a copy of the sources is caught.
add_test(NAME layering_faults
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/layering_faults.sh ${PROJECT_SOURCE_DIR})
set_tests_properties(layering_faults PROPERTIES TIMEOUT 600)
