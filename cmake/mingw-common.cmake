# MinGW-w64; VT_MINGW_TRIPLE names the target. The program is built with the win32 thread model:
# it uses Windows' threads directly, and the posix model's winpthreads library would add 28 KB
# to it. GoogleTest needs std::mutex, which GCC 12 has with the posix model only, so the Windows
# unit tests are a build of their own with VT_MINGW_THREADS=posix.
set(VT_MINGW_THREADS win32 CACHE STRING "thread model of the MinGW-w64 compilers: win32 or posix")
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VT_MINGW_PROCESSOR})
set(CMAKE_C_COMPILER ${VT_MINGW_TRIPLE}-gcc-${VT_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${VT_MINGW_TRIPLE}-g++-${VT_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${VT_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# One self-contained .exe: no libgcc, libstdc++ or winpthread DLLs beside it. No time stamp in
# the PE header, so that the same sources give the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT
  "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -Wl,--no-insert-timestamp")
# Each function and datum in a section of its own, so the linker drops what nothing calls. No
# type information for polymorphic classes: nothing asks for it (no dynamic_cast, no typeid),
# and it cost the i686 product 78 KB; exceptions still get the type information they need.
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections -fno-rtti")
