# Cross-build for 32-bit Windows, the product.
set(VT_MINGW_TRIPLE i686-w64-mingw32)
set(VT_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
