# The SDL window's tests push SDL events of their own.
target_link_libraries(vorlith_tests PRIVATE PkgConfig::SDL2)
