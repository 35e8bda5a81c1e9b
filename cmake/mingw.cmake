# Cross build for Windows with mingw-w64, for the target FORMREEL_MINGW_TRIPLE
# that mingw-i686.cmake or mingw-x86_64.cmake sets before including this
# file. The posix-thread compilers, because GoogleTest needs threads.
# Everything is linked statically so the programs run on a bare Windows or
# Wine.
set(CMAKE_SYSTEM_NAME Windows)
string(REGEX MATCH "^[^-]+" CMAKE_SYSTEM_PROCESSOR "${FORMREEL_MINGW_TRIPLE}")
set(CMAKE_C_COMPILER ${FORMREEL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FORMREEL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${FORMREEL_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${FORMREEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
