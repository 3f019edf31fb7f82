# Release packages as users download them: diseqc-<version>-win32.zip or
# -win64.zip, holding the tested diseqc.dll and an install text. `cpack` in a
# MinGW build tree makes the package of that tree's architecture.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(DISEQC_PACKAGE_ARCH win64)
  set(DISEQC_VIEWER_BITS 64)
  set(DISEQC_OTHER_PACKAGE win32)
  set(DISEQC_OTHER_BITS 32)
else()
  set(DISEQC_PACKAGE_ARCH win32)
  set(DISEQC_VIEWER_BITS 32)
  set(DISEQC_OTHER_PACKAGE win64)
  set(DISEQC_OTHER_BITS 64)
endif()

# Users open it with Notepad.
configure_file(${CMAKE_SOURCE_DIR}/packaging/install.txt.in ${CMAKE_BINARY_DIR}/generated/install.txt
  @ONLY NEWLINE_STYLE CRLF)

# The package holds the DLL alone, so packing builds nothing: a tree whose
# tests cannot run here builds only the DLL, and packs it (cpack after a build).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# The DLL itself, not the import library beside it.
install(FILES $<TARGET_FILE:diseqc> ${CMAKE_BINARY_DIR}/generated/install.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME diseqc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(DISEQC_PACKAGE_FILE_NAME diseqc-${PROJECT_VERSION}-${DISEQC_PACKAGE_ARCH})
set(CPACK_PACKAGE_FILE_NAME ${DISEQC_PACKAGE_FILE_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
