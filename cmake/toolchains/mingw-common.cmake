# The posix thread model gives std::thread and std::mutex; -static in the top-level file keeps
# winpthread out of the import table.
set(CMAKE_C_COMPILER ${QUELLIN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUELLIN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QUELLIN_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUELLIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The top-level CMakeLists.txt points CMAKE_CROSSCOMPILING_EMULATOR at a Wine wrapper in the
# build folder, so plain ctest runs the Windows test programs.
