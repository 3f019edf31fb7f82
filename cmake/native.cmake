file(GLOB MAKE_ICONS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*.cpp)
add_executable(make_icons ${MAKE_ICONS_SOURCES})
target_compile_options(make_icons PRIVATE ${DISEQC_WARNINGS})

# Replays a recorded run of commands through the dish simulator.
add_executable(dish-sim ${CMAKE_SOURCE_DIR}/tools/dish_sim/main.cpp)
target_compile_options(dish-sim PRIVATE ${DISEQC_WARNINGS})
target_link_libraries(dish-sim PRIVATE dish_simulator)

if(NOT DISEQC_TESTS)
  return()
endif()

# Unit tests of the portable logic with the host compiler.
file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(native_tests ${NATIVE_TEST_SOURCES} ${DISEQC_COMMON_TEST_SOURCES}
  ${CMAKE_SOURCE_DIR}/workbench/png_writer.cpp)
target_compile_options(native_tests PRIVATE ${DISEQC_WARNINGS})
target_compile_definitions(native_tests PRIVATE ICON_DIR="${CMAKE_SOURCE_DIR}/res/icons")
target_link_libraries(native_tests PRIVATE diseqc_core dish_simulator GTest::gtest_main)
gtest_discover_tests(native_tests DISCOVERY_TIMEOUT 60)

# The replayer as a user runs it: its output, and its refusal of bad input.
foreach(case at_moments per_command goto_site bad_site bad_hex time_backwards)
  add_test(NAME dish_sim_${case} COMMAND ${CMAKE_COMMAND} -DDISH_SIM=$<TARGET_FILE:dish-sim>
    -DTRACES=${CMAKE_SOURCE_DIR}/tests/native/dish_traces -DCASE=${case}
    -P ${CMAKE_SOURCE_DIR}/tests/native/dish_sim_cli.cmake)
endforeach()


# Checks a cross-built diseqc.dll as a file. The MinGW trees run it as their
# test "plugin_image", also where their DLL's architecture cannot run.
add_executable(plugin_image_tests ${CMAKE_SOURCE_DIR}/tests/image/pe_image.cpp
  ${CMAKE_SOURCE_DIR}/tests/image/plugin_image_test.cpp)
target_compile_options(plugin_image_tests PRIVATE ${DISEQC_WARNINGS})
target_include_directories(plugin_image_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(plugin_image_tests PRIVATE GTest::gtest_main)
