# The product built a second way: Debian's clang and lld for 64-bit Windows, against
# mingw-w64's own C and C++ headers and libraries (those of its g++, posix threads), so that
# code only one compiler accepts is caught.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(toolchain_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${toolchain_prefix})
set(CMAKE_CXX_COMPILER_TARGET ${toolchain_prefix})
set(CMAKE_RC_COMPILER ${toolchain_prefix}-windres)

# clang would look for the host's C++ headers; mingw-w64's g++ keeps its own beside its
# libraries, in a folder named after its version.
file(GLOB gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/${toolchain_prefix}/*-posix)
list(SORT gcc_dirs COMPARE NATURAL ORDER DESCENDING)
list(GET gcc_dirs 0 gcc_dir)
set(cxx_headers ${gcc_dir}/include/c++)
set(CMAKE_CXX_FLAGS_INIT
    "-nostdinc++ -isystem ${cxx_headers} -isystem ${cxx_headers}/${toolchain_prefix} -isystem ${cxx_headers}/backward")
# libstdc++ of the posix thread model needs winpthreads. The header options above reach the
# link as well, where they mean nothing.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-fuse-ld=lld -L${gcc_dir} -lpthread -Wno-unused-command-line-argument")

set(CMAKE_FIND_ROOT_PATH /usr/${toolchain_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
