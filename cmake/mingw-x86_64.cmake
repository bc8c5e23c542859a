# Cross-build for 64-bit Windows: the same sources, tested on every machine (64-bit Wine runs
# everywhere) and released beside the 32-bit product.
set(VT_MINGW_TRIPLE x86_64-w64-mingw32)
set(VT_MINGW_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
