# Cross toolchain: 32-bit Windows programs built with MinGW-w64 and run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
# The win32 thread model: the posix one links a thread runtime that imports functions Windows 98
# does not have (AddVectoredExceptionHandler, GetTickCount64, ...). Everything in this build
# tree, the tests included, is compiled the same way as the shipped program.
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Windows 98 runs on the 486DX and later, and these compilers default to the Pentium Pro:
# every file is compiled with -march=i486 and linked with a C and C++ run-time built the same
# way (crt2.o, libmingw32, libmingwex, libmsvcrt, libgcc, libgcc_eh, crtbegin.o/crtend.o,
# libstdc++), which scripts/build-i486-runtime.sh makes in a cache folder, with the NSIS that
# builds Setup.exe. The top CMakeLists.txt adds the flags (to every target, whatever a build
# tree has cached); here the run-time is found: VELTRIM_I486_RUNTIME names it, or the
# "current" link in the cache folder.
if(DEFINED ENV{VELTRIM_I486_RUNTIME})
  set(VT_I486_RUNTIME "$ENV{VELTRIM_I486_RUNTIME}")
elseif(DEFINED ENV{VELTRIM_I486_CACHE})
  set(VT_I486_RUNTIME "$ENV{VELTRIM_I486_CACHE}/current")
elseif(DEFINED ENV{XDG_CACHE_HOME})
  set(VT_I486_RUNTIME "$ENV{XDG_CACHE_HOME}/veltrim-i486/current")
else()
  set(VT_I486_RUNTIME "$ENV{HOME}/.cache/veltrim-i486/current")
endif()
if(NOT EXISTS "${VT_I486_RUNTIME}/VERSIONS")
  message(FATAL_ERROR "No 486 run-time in ${VT_I486_RUNTIME}: run scripts/build-i486-runtime.sh")
endif()
