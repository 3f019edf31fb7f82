# Shared by the per-architecture MinGW-w64 toolchain files, which set
# DISEQC_MINGW_TRIPLET first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${DISEQC_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DISEQC_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${DISEQC_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${DISEQC_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Windows programs built here run under Wine, in a prefix of the build tree;
# the script picks the loader that matches each program.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
