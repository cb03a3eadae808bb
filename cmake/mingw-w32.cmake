# Cross build for 32-bit Windows with MinGW-w64: laboratory PCs beside the
# instruments are often old 32-bit machines, still on Windows XP. The win32
# thread model, because the posix one links winpthreads, which imports
# GetTickCount64 (Vista and later) and so keeps the program from starting on
# XP; its runtime has no std::mutex, hence platform::Mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The oldest Windows the build starts on: XP (5.1), service pack 3 (checked
# by tests/imports/check_imports.sh and the installer).
set(ORLA_OLDEST_WINDOWS 0x0501)
