# The plug-in, the stand-in viewer and the Windows-side tests.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

if(MINGW)
  # Only Windows system DLLs may be imported: no libgcc, libstdc++ or
  # winpthread beside the plug-in in a viewer's folder.
  set(DISEQC_STATIC_RUNTIME -static)
  # The statically linked runtime brings its debug information along; the
  # release DLL that the tests load is the one users get, so strip it here.
  set(DISEQC_RELEASE_STRIP $<$<CONFIG:Release>:-s>)
  # One section per function and object, so that the linker drops what
  # nothing calls, of our code and of the runtime alike.
  set(DISEQC_SECTIONS -ffunction-sections -fdata-sections)
  # The plug-in's code waits on the window system and the disk, never on
  # itself: built for size. It comes after the build type's level and wins.
  set(DISEQC_FOR_SIZE -Os)
  set(DISEQC_UNUSED_SECTIONS_DROPPED -Wl,--gc-sections)
endif()

# The Windows side of the plug-in.
set(PLUGIN_SOURCES
  host/host_channel.cpp
  plugin/exports.cpp
  plugin/info_page.cpp
  plugin/plugin_state.cpp
  plugin/setup_window.cpp
  plugin/runtime_replacements.cpp
  store/win32_edit_lock.cpp
  store/win32_file_store.cpp
  store/win32_path.cpp
  ui/about_dialog.cpp
  ui/hold_button.cpp
  ui/positioner_extras_dialog.cpp
  ui/positioner_setup_dialog.cpp
  ui/sat_name_dialog.cpp
  ui/satellite_list_ctrl.cpp
  win/controls.cpp
  win/data_exchange.cpp
  win/dialog.cpp
  win/dialog_keys.cpp
  win/message_box.cpp)
list(TRANSFORM PLUGIN_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)
add_library(diseqc_plugin_objects OBJECT ${PLUGIN_SOURCES})
target_link_libraries(diseqc_plugin_objects PUBLIC diseqc_core)
target_compile_options(diseqc_plugin_objects PRIVATE ${DISEQC_WARNINGS} ${DISEQC_SECTIONS}
  ${DISEQC_FOR_SIZE})
target_compile_options(diseqc_core PRIVATE ${DISEQC_SECTIONS} ${DISEQC_FOR_SIZE})
target_compile_definitions(diseqc_plugin_objects PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX)

# windres does not report the files that the script pulls in.
file(GLOB RESOURCE_INPUTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/icons/*.ico)
configure_file(${CMAKE_SOURCE_DIR}/res/version.h.in ${CMAKE_BINARY_DIR}/generated/diseqc_version.h)
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/diseqc.rc PROPERTIES
  OBJECT_DEPENDS "${RESOURCE_INPUTS};${CMAKE_SOURCE_DIR}/res/info.htm;${CMAKE_SOURCE_DIR}/res/resource_ids.h;${CMAKE_SOURCE_DIR}/res/window_captions.h;${CMAKE_BINARY_DIR}/generated/diseqc_version.h")

add_library(diseqc SHARED $<TARGET_OBJECTS:diseqc_plugin_objects>
  ${CMAKE_SOURCE_DIR}/res/diseqc.rc ${CMAKE_SOURCE_DIR}/plugin/diseqc.def)
set_target_properties(diseqc PROPERTIES PREFIX "" OUTPUT_NAME diseqc)
target_include_directories(diseqc PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(diseqc PRIVATE diseqc_core user32 gdi32 comctl32 shell32)
target_link_options(diseqc PRIVATE ${DISEQC_STATIC_RUNTIME} ${DISEQC_RELEASE_STRIP}
  ${DISEQC_UNUSED_SECTIONS_DROPPED})
include(${CMAKE_CURRENT_LIST_DIR}/packaging.cmake)

# What the workbench does as a host, shared with the tests and the benchmark:
# loading the plug-in, driving its satellite list with the pointer, answering
# its modal boxes.
set(HOST_DRIVER_SOURCES
  input_delivery.cpp
  list_pointer.cpp
  message_hook.cpp
  message_pump.cpp
  modal_script.cpp
  plugin_module.cpp
  plugin_windows.cpp)
list(TRANSFORM HOST_DRIVER_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/host_driver/)
# A host names the plug-in's file by any path, as the plug-in names its own.
add_library(host_driver STATIC ${HOST_DRIVER_SOURCES} ${CMAKE_SOURCE_DIR}/store/win32_path.cpp)
target_compile_options(host_driver PRIVATE ${DISEQC_WARNINGS})
target_include_directories(host_driver PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(host_driver PUBLIC user32 comctl32)

set(WORKBENCH_SOURCES
  command_line.cpp
  control_names.cpp
  dish_view.cpp
  extras_tour.cpp
  host_request_log.cpp
  main.cpp
  main_window.cpp
  plugin_menu.cpp
  plugin_session.cpp
  plugin_settings.cpp
  png_writer.cpp
  screen_capture.cpp
  screenshot.cpp
  standard_tour.cpp
  tour.cpp
  tour_steps.cpp
  workbench.cpp
  workbench_log.cpp)
list(TRANSFORM WORKBENCH_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/workbench/)
add_executable(workbench ${WORKBENCH_SOURCES})
target_compile_options(workbench PRIVATE ${DISEQC_WARNINGS})
target_link_libraries(workbench PRIVATE host_driver dish_simulator diseqc_core user32 gdi32 comctl32)
target_link_options(workbench PRIVATE ${DISEQC_STATIC_RUNTIME})
add_dependencies(workbench diseqc)

if(NOT DISEQC_TESTS)
  return()
endif()

# Wine reports damage it finds in a heap as "err:heap" (the prefix turns the
# checks on); such a test fails even when its own checks pass.
set(DISEQC_HEAP_DAMAGE "err:heap")

# Stands in for the browser's res: handler during the tests.
add_executable(res_recorder ${CMAKE_SOURCE_DIR}/tests/windows/programs/res_recorder.cpp
  ${CMAKE_SOURCE_DIR}/store/win32_path.cpp)
target_include_directories(res_recorder PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(res_recorder PRIVATE shell32)
target_compile_options(res_recorder PRIVATE ${DISEQC_WARNINGS})
target_link_options(res_recorder PRIVATE ${DISEQC_STATIC_RUNTIME})
# A host killed again and again in the middle of list edits, and the judge of
# the settings file it leaves behind.
add_executable(settings_editor ${CMAKE_SOURCE_DIR}/tests/windows/programs/settings_editor.cpp)
add_executable(kill_during_edits ${CMAKE_SOURCE_DIR}/tests/windows/programs/kill_during_edits.cpp)
foreach(program settings_editor kill_during_edits)
  target_compile_options(${program} PRIVATE ${DISEQC_WARNINGS})
  target_link_libraries(${program} PRIVATE host_driver)
  target_link_options(${program} PRIVATE ${DISEQC_STATIC_RUNTIME})
endforeach()
add_dependencies(kill_during_edits diseqc settings_editor)
add_test(NAME settings_survive_kills COMMAND kill_during_edits 200)
set_tests_properties(settings_survive_kills PROPERTIES TIMEOUT 900)

# Two host processes with the plug-in open on one settings file, editing names
# in turns and at once; the file must end as the replay of every edit.
add_executable(two_viewers ${CMAKE_SOURCE_DIR}/tests/windows/programs/two_viewers.cpp)
target_compile_options(two_viewers PRIVATE ${DISEQC_WARNINGS})
target_link_libraries(two_viewers PRIVATE host_driver diseqc_core)
target_link_options(two_viewers PRIVATE ${DISEQC_STATIC_RUNTIME})
add_dependencies(two_viewers diseqc)
add_test(NAME two_viewers_keep_every_edit COMMAND two_viewers 30 30)
set_tests_properties(two_viewers_keep_every_edit PROPERTIES TIMEOUT 300)

# Many opening and closing cycles and list edits in one host process, with
# what the process holds counted before and after. The quick run is a test;
# `tools/long-run.sh soak` runs the full one.
add_executable(soak ${CMAKE_SOURCE_DIR}/tests/windows/programs/soak.cpp
  ${CMAKE_SOURCE_DIR}/tests/windows/resource_counts.cpp)
target_compile_options(soak PRIVATE ${DISEQC_WARNINGS})
target_link_libraries(soak PRIVATE host_driver)
target_link_options(soak PRIVATE ${DISEQC_STATIC_RUNTIME})
add_dependencies(soak diseqc)
add_test(NAME soak_quick COMMAND soak 100 200)
set_tests_properties(soak_quick PROPERTIES TIMEOUT 600 FAIL_REGULAR_EXPRESSION "${DISEQC_HEAP_DAMAGE}")

# Random actions on the real setup window, checked after each one; the run's
# seed comes from the clock and is printed with every failure.
# `tools/long-run.sh monkey [actions] [seed]` runs a long one.
add_executable(monkey ${CMAKE_SOURCE_DIR}/tests/windows/programs/monkey.cpp
  ${CMAKE_SOURCE_DIR}/tests/windows/programs/monkey_extras.cpp
  ${CMAKE_SOURCE_DIR}/tests/windows/test_host.cpp
  ${CMAKE_SOURCE_DIR}/store/win32_file_store.cpp)
target_compile_options(monkey PRIVATE ${DISEQC_WARNINGS})
target_compile_definitions(monkey PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(monkey PRIVATE host_driver diseqc_core user32 comctl32)
target_link_options(monkey PRIVATE ${DISEQC_STATIC_RUNTIME})
add_dependencies(monkey diseqc)
add_test(NAME monkey_quick COMMAND monkey 800)
# It opens windows and takes the focus all the time: nothing else runs beside it.
set_tests_properties(monkey_quick PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE
  FAIL_REGULAR_EXPRESSION "${DISEQC_HEAP_DAMAGE}")

if(CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME workbench_tour_turns_the_dish COMMAND ${CMAKE_COMMAND}
    -DRUNNER=${CMAKE_CROSSCOMPILING_EMULATOR} -DPLUGIN=$<TARGET_FILE:diseqc>
    -DWORKBENCH=$<TARGET_FILE:workbench> -DSESSION=${CMAKE_BINARY_DIR}/tour_session
    -P ${CMAKE_SOURCE_DIR}/tests/windows/tour_turns_the_dish.cmake)
  set_tests_properties(workbench_tour_turns_the_dish PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE
    FAIL_REGULAR_EXPRESSION "${DISEQC_HEAP_DAMAGE}")
  add_test(NAME workbench_extras_tour_turns_to_a_satellite COMMAND ${CMAKE_COMMAND}
    -DRUNNER=${CMAKE_CROSSCOMPILING_EMULATOR} -DPLUGIN=$<TARGET_FILE:diseqc>
    -DWORKBENCH=$<TARGET_FILE:workbench> -DSESSION=${CMAKE_BINARY_DIR}/extras_tour_session
    -P ${CMAKE_SOURCE_DIR}/tests/windows/extras_tour_turns_to_a_satellite.cmake)
  set_tests_properties(workbench_extras_tour_turns_to_a_satellite PROPERTIES TIMEOUT 180
    RUN_SERIAL TRUE FAIL_REGULAR_EXPRESSION "${DISEQC_HEAP_DAMAGE}")
  add_test(NAME wine_runner_passes_on_exit_status COMMAND ${CMAKE_COMMAND}
    -DRUNNER=${CMAKE_CROSSCOMPILING_EMULATOR} -DPROGRAM=$<TARGET_FILE:res_recorder>
    -P ${CMAKE_SOURCE_DIR}/tests/windows/check_exit_status.cmake)
endif()

file(GLOB WINDOWS_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/windows/*.cpp)
# The tests load the real plug-in; beside that they link the few pieces that
# they exercise directly against a real host window.
add_executable(windows_tests ${WINDOWS_TEST_SOURCES} ${DISEQC_COMMON_TEST_SOURCES}
  ${CMAKE_SOURCE_DIR}/host/host_channel.cpp
  ${CMAKE_SOURCE_DIR}/store/win32_edit_lock.cpp
  ${CMAKE_SOURCE_DIR}/store/win32_file_store.cpp)
target_compile_options(windows_tests PRIVATE ${DISEQC_WARNINGS})
target_compile_definitions(windows_tests PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
target_include_directories(windows_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(windows_tests PRIVATE host_driver diseqc_core GTest::gtest_main
  user32 gdi32 comctl32 shell32 advapi32 version)
target_link_options(windows_tests PRIVATE ${DISEQC_STATIC_RUNTIME})
add_dependencies(windows_tests diseqc res_recorder)
gtest_discover_tests(windows_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 120 FAIL_REGULAR_EXPRESSION "${DISEQC_HEAP_DAMAGE}")

# The host faults again, in a copy of the tests that the Wine prefix runs with
# the whole heap checked at every call: a write to freed memory shows at once.
add_custom_command(TARGET windows_tests POST_BUILD COMMAND ${CMAKE_COMMAND} -E copy
  $<TARGET_FILE:windows_tests> $<TARGET_FILE_DIR:windows_tests>/heap_checked_tests.exe)
if(CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME host_faults_under_heap_checks COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR}
    $<TARGET_FILE_DIR:windows_tests>/heap_checked_tests.exe
    --gtest_filter=HostFaults.*:SetupSoundness.*:SetupClose.*:*ExitDuringRename*)
  set_tests_properties(host_faults_under_heap_checks PROPERTIES TIMEOUT 900
    FAIL_REGULAR_EXPRESSION "${DISEQC_HEAP_DAMAGE}")
  # The extras window outlives neither the setup window nor a question it asked.
  add_test(NAME extras_under_heap_checks COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR}
    $<TARGET_FILE_DIR:windows_tests>/heap_checked_tests.exe
    --gtest_filter=Extras.ClosesWith*:Extras.ExitWhile*:Extras.HeldDrive*)
  set_tests_properties(extras_under_heap_checks PROPERTIES TIMEOUT 600
    FAIL_REGULAR_EXPRESSION "${DISEQC_HEAP_DAMAGE}")
endif()

# Checks that run natively, without Wine, in a folder of their own:
# `ctest --test-dir <build>/static_checks` runs them alone where this machine
# cannot run the DLL's architecture.
add_subdirectory(${CMAKE_SOURCE_DIR}/tests/image ${CMAKE_BINARY_DIR}/static_checks)

# Not a test: prints medians beside the platform's floor for the same work,
# done by bare dialog procedures on the plug-in's template with the plug-in's
# own control wrappers and keyboard hook.
add_executable(setup_window_benchmark ${CMAKE_SOURCE_DIR}/benchmarks/setup_window_benchmark.cpp
  ${CMAKE_SOURCE_DIR}/benchmarks/bare_setup_windows.cpp
  ${CMAKE_SOURCE_DIR}/store/win32_file_store.cpp
  ${CMAKE_SOURCE_DIR}/win/controls.cpp
  ${CMAKE_SOURCE_DIR}/win/dialog_keys.cpp)
target_compile_options(setup_window_benchmark PRIVATE ${DISEQC_WARNINGS})
target_compile_definitions(setup_window_benchmark PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(setup_window_benchmark PRIVATE host_driver diseqc_core user32 comctl32)
target_link_options(setup_window_benchmark PRIVATE ${DISEQC_STATIC_RUNTIME})
add_dependencies(setup_window_benchmark diseqc)
