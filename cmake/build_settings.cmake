# Settings of every target of the project's own code, in every tree. They are
# directory settings, taken by each folder added after this; GoogleTest, added
# before, keeps its own.

# Every source names its headers from the top of the tree ("store/…").
include_directories(${PROJECT_SOURCE_DIR})

if(MSVC)
  add_compile_options(/W4 /WX /permissive-)
else()
  add_compile_options(-Wall -Wextra -Wpedantic -Werror)
endif()

# Compile options for the code that ends up in diseqc.dll; the MinGW trees
# build it for size (cmake/windows.cmake).
set(DISEQC_PLUGIN_CODE "")

if(NOT WIN32)
  # Where the README and the MinGW trees look for the native programs.
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()
