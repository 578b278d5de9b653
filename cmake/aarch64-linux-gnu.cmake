# Cross build for Linux on 64-bit ARM with Debian's g++-aarch64-linux-gnu;
# CTest runs the programs under qemu-user, e.g.
#   cmake -S . -B build-aarch64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(VARNEL_CROSS_PREFIX aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${VARNEL_CROSS_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${VARNEL_CROSS_PREFIX}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${VARNEL_CROSS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The target's loader and C library come from the cross toolchain's root.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/${VARNEL_CROSS_PREFIX})
