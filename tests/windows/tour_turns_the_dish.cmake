# Runs the workbench's scripted tour with the real plug-in in a folder of its
# own and checks that the dish followed the plug-in's commands: the log's dish
# lines, with their degree signs, and the trace that dish-sim replays.
include(${CMAKE_CURRENT_LIST_DIR}/workbench_tour.cmake)
run_workbench_tour(--tour)
expect_log_lines(
    "dish 0.00°: ignored: goto position 2, which is not set"
    "dish 0.00°: store 0.00 as position 3"
    "dish 0.00° → 1.95°E, 2.4 s"
    "dish 1.95°E → 12.90°W, 7.8 s"
    "row 2 \"Astra 3B 23.5°E\"")
expect_trace("E0 31 6B 02;E0 31 6A 03;E0 31 68 F3;E0 31 69 9D")
