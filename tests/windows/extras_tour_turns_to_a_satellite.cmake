# Runs the workbench's tour of the positioner extras with the real plug-in: the
# site saved, the way to Astra 19.2E shown, and the dish turned to its angle.
include(${CMAKE_CURRENT_LIST_DIR}/workbench_tour.cmake)
run_workbench_tour(--tour-extras)
expect_log_lines(
    "shows \"Satellite 19.2°E: motor angle 15.6° E, azimuth 162.2°, elevation 29.0°; goto up to 2 min\""
    "dish 0.00° → 15.60°E")
expect_trace("E0 31 6E E0 FA")
file(READ ${SESSION}/diseqc.ini settings)
string(REGEX MATCH "\\[SITE\\]\r?\nLATITUDE=52\\.0\r?\nLONGITUDE=5\\.0" site "${settings}")
if(NOT site)
  message(FATAL_ERROR "the settings file lacks the site:\n${settings}")
endif()
