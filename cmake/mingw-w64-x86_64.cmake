# Cross toolchain for the Windows build of Lumivane: MinGW-w64, x86_64, posix
# thread model (the win32 model cannot build GoogleTest or std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_prefix x86_64-w64-mingw32)
foreach(_tool gcc-posix g++-posix windres)
    find_program(_found ${_prefix}-${_tool})
    if(NOT _found)
        message(FATAL_ERROR "MinGW-w64 tool ${_prefix}-${_tool} not found: run scripts/setup.sh")
    endif()
    unset(_found CACHE)
endforeach()

set(CMAKE_C_COMPILER ${_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${_prefix}-windres)
# Every Windows target of the tree (the program, its tests, tools and benches)
# builds against the same Windows headers.
set(_defines "-DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601")
set(CMAKE_C_FLAGS_INIT "${_defines}")
set(CMAKE_CXX_FLAGS_INIT "${_defines}")
set(CMAKE_FIND_ROOT_PATH /usr/${_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Windows tests run under Wine, through a wrapper that uses the build's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/wine-run.sh)
