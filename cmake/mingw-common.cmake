# MinGW-w64 with the posix thread model (GoogleTest needs std::mutex); VT_MINGW_TRIPLE names the target.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VT_MINGW_PROCESSOR})
set(CMAKE_C_COMPILER ${VT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VT_MINGW_TRIPLE}-g++-posix)
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
