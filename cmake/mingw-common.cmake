# Shared part of the MinGW-w64 toolchain files; ORVEX_MINGW_TRIPLE names the target.
# Debian's win32-threads variant: its run-time uses the system's own threads
# and critical sections and needs no threads library, so the program imports
# nothing beyond what the oldest systems it runs on export.
find_program(ORVEX_MINGW_CXX NAMES ${ORVEX_MINGW_TRIPLE}-g++-win32 REQUIRED)
find_program(ORVEX_MINGW_CC NAMES ${ORVEX_MINGW_TRIPLE}-gcc-win32 REQUIRED)
set(CMAKE_C_COMPILER ${ORVEX_MINGW_CC})
set(CMAKE_CXX_COMPILER ${ORVEX_MINGW_CXX})
set(CMAKE_RC_COMPILER ${ORVEX_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ORVEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
