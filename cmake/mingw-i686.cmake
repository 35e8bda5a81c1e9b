# 32-bit Windows (the win32 preset); the rest is in mingw.cmake.
set(FORMREEL_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
