# Settings of a Windows tree: where its programs go, how they link, how the
# plug-in's code is built, and the Wine heap checks its programs run under.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Windows headers without the parts that nothing here uses, and without the
# min and max macros that break std::min and std::max.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)

if(MINGW)
  # Only Windows system DLLs may be imported: no libgcc, libstdc++ or
  # winpthread beside the plug-in in a viewer's folder, nor beside a test.
  add_link_options(-static)
  # The plug-in's code waits on the window system and the disk, never on
  # itself: built for size, after the build type's level so that it wins. One
  # section per function and object, so that the DLL's linker drops what
  # nothing calls (diseqc_gc_sections). The libraries the DLL links take these
  # options too, whoever else links them.
  set(DISEQC_PLUGIN_CODE -ffunction-sections -fdata-sections -Os)
endif()

# diseqc_gc_sections(TARGET): the linker drops the sections that nothing
# calls, of our code and of the runtime alike, and strips the release build:
# the statically linked runtime brings its debug information along, and the
# release DLL that the tests load is the one users get.
function(diseqc_gc_sections target)
  if(MINGW)
    target_link_options(${target} PRIVATE -Wl,--gc-sections $<$<CONFIG:Release>:-s>)
  endif()
endfunction()

# Wine's heap checks, set per program file name as GlobalFlag in the prefix's
# Image File Execution Options (cmake/wine-run.sh): guard bytes after each
# block, freed blocks filled and checked, arguments validated. Wine reports
# the damage it finds as "err:heap" (DISEQC_HEAP_DAMAGE), which fails a test.
set(DISEQC_HEAP_CHECKS 0x70)
# The same and the whole heap at every call, which finds a write to freed
# memory at once but is slow.
set(DISEQC_FULL_HEAP_CHECKS 0xF0)
set(DISEQC_HEAP_DAMAGE "err:heap")

# What a test that runs Windows programs takes from ctest: a virtual desktop
# of its own (a display and a Wine prefix) when the suite runs with desktops
# (cmake/windows-suite.sh); without them it shares the display as before.
set(DISEQC_DESKTOP RESOURCE_GROUPS desktop:1)

# diseqc_windows_program(NAME [NO_HEAP_CHECKS "reason"] SOURCES...): a Windows
# program, run under Wine with the heap checks unless it says why not.
function(diseqc_windows_program name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "NO_HEAP_CHECKS" "")
  if("NO_HEAP_CHECKS" IN_LIST arg_KEYWORDS_MISSING_VALUES)
    message(FATAL_ERROR "${name}: NO_HEAP_CHECKS needs the reason why the checks stay off")
  endif()
  add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
  if(DEFINED arg_NO_HEAP_CHECKS)
    set_target_properties(${name} PROPERTIES DISEQC_NO_HEAP_CHECKS "${arg_NO_HEAP_CHECKS}")
  else()
    set_target_properties(${name} PROPERTIES DISEQC_HEAP_CHECKS ${DISEQC_HEAP_CHECKS})
  endif()
endfunction()

# diseqc_full_heap_checked_copy(TARGET COPY): a copy of the program, named
# COPY.exe beside it, that runs with the whole heap checked at every call.
function(diseqc_full_heap_checked_copy target copy)
  add_custom_command(TARGET ${target} POST_BUILD COMMAND ${CMAKE_COMMAND} -E copy
    $<TARGET_FILE:${target}> $<TARGET_FILE_DIR:${target}>/${copy}.exe)
  set_property(TARGET ${target} APPEND PROPERTY DISEQC_FULL_HEAP_CHECKED_COPIES ${copy}.exe)
endfunction()

function(diseqc_executables_in directory result)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  set(executables "")
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      list(APPEND executables ${target})
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    # GoogleTest's folder is not ours.
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR ${subdirectory} ours)
    if(ours)
      diseqc_executables_in(${subdirectory} more)
      list(APPEND executables ${more})
    endif()
  endforeach()
  set(${result} ${executables} PARENT_SCOPE)
endfunction()

# diseqc_write_heap_checked_programs(): after every folder, writes the heap
# checks of every program of the tree into <build>/heap_checked_programs.txt,
# one "file.exe flags" a line, for cmake/wine-run.sh to set in the prefix. A
# program made without diseqc_windows_program stops the configuration, so that
# none runs without the checks unnoticed.
function(diseqc_write_heap_checked_programs)
  diseqc_executables_in(${PROJECT_SOURCE_DIR} programs)
  set(lines "")
  foreach(program IN LISTS programs)
    get_property(checked TARGET ${program} PROPERTY DISEQC_HEAP_CHECKS SET)
    get_property(opted_out TARGET ${program} PROPERTY DISEQC_NO_HEAP_CHECKS SET)
    if(checked)
      get_target_property(flags ${program} DISEQC_HEAP_CHECKS)
      string(APPEND lines "$<TARGET_FILE_NAME:${program}> ${flags}\n")
    elseif(NOT opted_out)
      message(FATAL_ERROR "${program}: a Windows program is made with diseqc_windows_program, "
        "which turns Wine's heap checks on or takes the reason why not")
    endif()
    get_property(copies TARGET ${program} PROPERTY DISEQC_FULL_HEAP_CHECKED_COPIES)
    foreach(copy IN LISTS copies)
      string(APPEND lines "${copy} ${DISEQC_FULL_HEAP_CHECKS}\n")
    endforeach()
  endforeach()
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/heap_checked_programs.txt CONTENT "${lines}")
endfunction()

# The release packages, of the whole tree.
include(${CMAKE_CURRENT_LIST_DIR}/packaging.cmake)
