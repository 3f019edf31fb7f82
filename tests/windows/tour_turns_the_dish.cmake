# Runs the workbench's scripted tour with the real plug-in in a folder of its
# own and checks that the dish followed the plug-in's commands: the log's dish
# lines, with their degree signs, and the trace that dish-sim replays.
file(REMOVE_RECURSE ${SESSION})
file(MAKE_DIRECTORY ${SESSION})
file(COPY ${PLUGIN} ${WORKBENCH} DESTINATION ${SESSION})
get_filename_component(plugin_name ${PLUGIN} NAME)
get_filename_component(workbench_name ${WORKBENCH} NAME)
string(REPLACE "/" "\\" trace "Z:${SESSION}/tour.trace")
string(REPLACE "/" "\\" plugin "Z:${SESSION}/${plugin_name}")
execute_process(COMMAND ${RUNNER} ${SESSION}/${workbench_name} --tour --trace ${trace} ${plugin}
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the workbench exited with ${result}:\n${out}\n${err}")
endif()
foreach(expected
    "dish 0.00°: ignored: goto position 2, which is not set"
    "dish 0.00°: store 0.00 as position 3"
    "dish 0.00° → 1.95°E, 2.4 s"
    "dish 1.95°E → 12.90°W, 7.8 s"
    "row 2 \"Astra 3B 23.5°E\"")
  string(FIND "${out}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the log lacks \"${expected}\":\n${out}")
  endif()
endforeach()
file(STRINGS ${SESSION}/tour.trace lines REGEX "^[0-9]")
list(TRANSFORM lines REPLACE "^[0-9]+ " "")
if(NOT lines STREQUAL "E0 31 6B 02;E0 31 6A 03;E0 31 68 F3;E0 31 69 9D")
  message(FATAL_ERROR "the trace holds: ${lines}")
endif()
