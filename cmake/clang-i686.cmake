# The shipped program's compiler (app/CMakeLists.txt builds Setup.exe with it): Debian's
# clang for the same 32-bit Windows target, with mingw's C++ headers and runtime of the
# win32 thread model, the ones Setup.exe links, and LLVM's archiver, whose archives of
# bitcode objects lld links with link-time optimisation.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)

set(CMAKE_C_COMPILER   clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET   ${TOOLCHAIN_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_AR     /usr/bin/llvm-ar-14)
set(CMAKE_RANLIB /usr/bin/llvm-ranlib-14)

# clang's mingw driver does not look for GCC's own folders: the C++ headers and runtime,
# libgcc and its unwinder come from the win32 thread-model compiler's folder, and so do
# crtbegin.o and crtend.o (-B): GCC's register the program's unwind tables with the
# unwinder, mingw-w64's own do not, and every exception thrown would end the program.
execute_process(COMMAND ${TOOLCHAIN_PREFIX}-g++-win32 -print-libgcc-file-name
                OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(gcc_dir "${libgcc}" DIRECTORY)
set(cxx_headers ${gcc_dir}/include/c++)
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES
    ${cxx_headers} ${cxx_headers}/${TOOLCHAIN_PREFIX} ${cxx_headers}/backward)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -B${gcc_dir} -L${gcc_dir}")
