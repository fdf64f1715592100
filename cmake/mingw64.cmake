# Cross-compiling the same sources as a 64-bit Windows program, for the test tree of a machine
# whose kernel cannot run 32-bit code (tools/build chooses it there; the shipped programs stay
# the 32-bit ones of mingw32.cmake).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw_common.cmake)
