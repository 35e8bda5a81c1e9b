# 64-bit Windows (the win64 preset); the rest is in mingw.cmake.
set(FORMREEL_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
