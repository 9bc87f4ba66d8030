# Cross toolchain: 64-bit Windows executables (build/, the build that runs
# under 64-bit Wine on any x86-64 machine).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
