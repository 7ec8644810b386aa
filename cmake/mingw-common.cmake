# Shared part of the MinGW-w64 toolchain files; FAVLINK_MINGW_TRIPLET names
# the target. The -posix compilers, because with GCC 12 only their libstdc++
# has std::mutex and std::thread, which GoogleTest's headers pull in.
set(CMAKE_SYSTEM_NAME Windows)
if(FAVLINK_MINGW_TRIPLET MATCHES "^x86_64")
  set(CMAKE_SYSTEM_PROCESSOR x86_64)
else()
  set(CMAKE_SYSTEM_PROCESSOR i686)
endif()

find_program(CMAKE_CXX_COMPILER NAMES ${FAVLINK_MINGW_TRIPLET}-g++-posix REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${FAVLINK_MINGW_TRIPLET}-gcc-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${FAVLINK_MINGW_TRIPLET}-windres)

# Headers and libraries come from the target's sysroot only; programs (the
# build tools) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${FAVLINK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program links the C and C++ runtimes in, so the exe and the unit test
# run with no DLLs beside them (only system DLLs stay imported).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Lets CTest run the 64-bit programs under Wine; the 32-bit ones only build
# here, since this kernel runs no 32-bit code.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  find_program(FAVLINK_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
  if(FAVLINK_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${FAVLINK_WINE64})
  endif()
endif()
