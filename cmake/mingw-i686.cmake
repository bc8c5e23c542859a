# Cross-build for 32-bit Windows, the product. Its tests run in a 32-bit prefix, where the
# machine can execute 32-bit programs.
set(VT_MINGW_TRIPLE i686-w64-mingw32)
set(VT_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
