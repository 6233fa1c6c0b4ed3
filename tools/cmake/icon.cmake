# The window icon is looked for beside the program: copy it there with every build.
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/game.ico
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/data/game.ico
          ${CMAKE_BINARY_DIR}/game.ico
  DEPENDS ${PROJECT_SOURCE_DIR}/data/game.ico)
add_custom_target(vorlith_icon DEPENDS ${CMAKE_BINARY_DIR}/game.ico)
add_dependencies(vorlith vorlith_icon)
