# Makes the release package of a build tree as a user downloads it, and
# checks that it holds exactly the tested DLL and the install text.
# Usage: cmake -DCPACK=... -DBUILD_DIR=... -DPACKAGE=<file name> -DDLL=... -P this
set(scratch ${BUILD_DIR}/release_package_check)
file(REMOVE_RECURSE ${scratch})
execute_process(COMMAND ${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -B ${scratch}
  RESULT_VARIABLE rc OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()
set(zip ${scratch}/${PACKAGE})
if(NOT EXISTS ${zip})
  file(GLOB made ${scratch}/*.zip)
  message(FATAL_ERROR "no ${PACKAGE}; cpack made: ${made}")
endif()

set(unpacked ${scratch}/unpacked)
file(MAKE_DIRECTORY ${unpacked})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${unpacked}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot unpack ${zip}")
endif()
file(GLOB_RECURSE entries RELATIVE ${unpacked} ${unpacked}/*)
list(SORT entries)
if(NOT entries STREQUAL "diseqc.dll;install.txt")
  message(FATAL_ERROR "${PACKAGE} holds '${entries}', expected 'diseqc.dll;install.txt'")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${DLL} ${unpacked}/diseqc.dll
  RESULT_VARIABLE different)
if(different)
  message(FATAL_ERROR "the packaged diseqc.dll is not the DLL that the tests load (${DLL})")
endif()

file(READ ${unpacked}/install.txt text)
foreach(expected "diseqc.dll" "${BITS}-bit viewers")
  string(FIND "${text}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "install.txt lacks '${expected}':\n${text}")
  endif()
endforeach()
# A text read as text loses its carriage returns: look at the bytes.
file(READ ${unpacked}/install.txt bytes HEX)
if(NOT bytes MATCHES "0d0a" OR bytes MATCHES "^0a" OR bytes MATCHES "^(..)*([^0].|0[^d])0a")
  message(FATAL_ERROR "install.txt has lines that do not end in CR LF")
endif()
message(STATUS "${PACKAGE}: ${entries}")
file(REMOVE_RECURSE ${scratch})
