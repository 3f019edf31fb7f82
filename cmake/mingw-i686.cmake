# 32-bit plug-in, for the viewers that load 32-bit plug-ins.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(DISEQC_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
