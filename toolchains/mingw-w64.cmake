# Cross-compiling for Windows with mingw-w64 (posix thread model).
# PELLMARK_ARCH selects x86_64 (default, the tree that runs under Wine) or
# i686 (compiled to prove the 32-bit build; never run here).
if(NOT PELLMARK_ARCH)
  set(PELLMARK_ARCH x86_64)
endif()
set(PELLMARK_ARCH "${PELLMARK_ARCH}" CACHE STRING "x86_64 or i686" FORCE)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${PELLMARK_ARCH})
set(_triple ${PELLMARK_ARCH}-w64-mingw32)

set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)
set(CMAKE_MC_COMPILER ${_triple}-windmc)
set(CMAKE_AR ${_triple}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${_triple}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program and DLL carries its own C and C++ runtime, so nothing has to
# be installed beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Release is what ships: optimised as -O2, without debug information, which
# costs about a quarter of the build time.
set(CMAKE_C_FLAGS_RELEASE_INIT "-O2 -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE_INIT "-O2 -DNDEBUG")
