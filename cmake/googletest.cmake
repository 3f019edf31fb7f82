# GoogleTest from its sources, built with each tree's compiler; without them
# the tree builds without its tests.
set(DISEQC_GOOGLETEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources, built for each target")
if(DISEQC_FUZZ)
  # libFuzzer brings its own main; nothing here runs under GoogleTest.
  set(DISEQC_TESTS OFF)
elseif(EXISTS ${DISEQC_GOOGLETEST_DIR}/CMakeLists.txt)
  enable_testing()
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  # Nothing of GoogleTest belongs in a release package.
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # Added before the project's own settings, which are stricter than its code.
  add_subdirectory(${DISEQC_GOOGLETEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
  set(DISEQC_TESTS ON)
else()
  message(STATUS "No GoogleTest at ${DISEQC_GOOGLETEST_DIR}: building without tests")
  set(DISEQC_TESTS OFF)
endif()
