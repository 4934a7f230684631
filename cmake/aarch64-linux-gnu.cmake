# Cross-builds for 64-bit ARM Linux with Debian's g++-aarch64-linux-gnu; the
# programs and tests run under qemu-aarch64 (package qemu-user), which finds
# the target's C and C++ libraries under /usr/aarch64-linux-gnu.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(AARCH64_PREFIX aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${AARCH64_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${AARCH64_PREFIX}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${AARCH64_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(QEMU_AARCH64_PROGRAM qemu-aarch64)
if(QEMU_AARCH64_PROGRAM)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QEMU_AARCH64_PROGRAM} -L /usr/${AARCH64_PREFIX})
endif()
