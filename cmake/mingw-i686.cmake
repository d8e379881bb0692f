# Cross build for 32-bit Windows, the shipped program, with the win32-thread
# mingw-w64 compilers: the posix-thread ones link the winpthread runtime, which
# imports KERNEL32 functions that Windows 2000 lacks (GetTickCount64 and the
# vectored exception handlers). The C++ library of this thread model has no
# std::thread or std::mutex; the program uses Win32 threads instead.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(triple i686-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-win32)
set(CMAKE_CXX_COMPILER ${triple}-g++-win32)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
