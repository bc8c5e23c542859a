# Cross-build for 64-bit Windows. The product is the 32-bit build; this one exists because the
# test machines' kernels cannot run 32-bit Linux programs, and so not 32-bit Wine either.
set(VT_MINGW_TRIPLE x86_64-w64-mingw32)
set(VT_MINGW_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
