# Runs the workbench's tour of the positioner extras with the real plug-in: the
# plug-in's belief of the dish forgotten before its first command, the dish
# sent to the reference position, the site saved, the way to Astra 19.2E
# shown, the dish turned to its angle and a position stored on the way.
include(${CMAKE_CURRENT_LIST_DIR}/workbench_tour.cmake)
set(stale "diseqc-dish 1\nleft by an earlier run\n")
run_workbench_tour(--tour-extras DISH_STATE "${stale}")
expect_log_lines(
    "tour: deleted the dish state file "
    "tour: the plug-in starts not knowing where the dish is"
    "tour: click IDC_REFERENCE"
    "IDC_DISH_STATUS shows \"Dish moving to 0.0°, up to 4"
    "tour: the plug-in believes the dish at rest at 0.00°"
    "IDC_DISH_STATUS shows \"Dish at 0.0°, since "
    "shows \"Satellite 19.2°E: motor angle 15.6° E, azimuth 162.2°, elevation 29.0°; goto about 9 s\""
    "dish 0.00° → 15.60°E"
    "tour: click IDC_STORE"
    "IDC_DISH_STATUS shows \"Dish moving 0.0° → 15.6° E, about ")
string(FIND "${out}" "tour: deleted the dish state file" deleted)
string(FIND "${out}" "native  E0" first_command)
if(NOT deleted LESS first_command)
  message(FATAL_ERROR "the dish state file was not deleted before the first command:\n${out}")
endif()
# Stored wherever the dish had got to, east of the reference position.
if(NOT out MATCHES "dish [0-9.]+°E: store [0-9.]+ as position 3")
  message(FATAL_ERROR "the log lacks the store on the way:\n${out}")
endif()
expect_trace("E0 31 6B;E0 31 6E E0 FA;E0 31 6A 03")
if(NOT EXISTS ${SESSION}/diseqc.dish)
  message(FATAL_ERROR "the plug-in kept no dish state file")
endif()
file(READ ${SESSION}/diseqc.dish state)
if(state STREQUAL stale)
  message(FATAL_ERROR "the dish state file of the earlier run is still there")
endif()
file(READ ${SESSION}/diseqc.ini settings)
string(REGEX MATCH "\\[SITE\\]\r?\nLATITUDE=52\\.0\r?\nLONGITUDE=5\\.0" site "${settings}")
if(NOT site)
  message(FATAL_ERROR "the settings file lacks the site:\n${settings}")
endif()
