# 64-bit plug-in, for 64-bit viewers.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DISEQC_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
