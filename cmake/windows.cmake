# The Windows build: ethercfg.exe, whose provider loads packet.dll at run
# time, and the programs with which the tests run it under Wine.
add_executable(ethercfg probe/main.cpp packet/packet_win32.cpp)
target_link_libraries(ethercfg PRIVATE ethercfg_core)
# Static, so that the tool needs no DLL of the compiler's.
target_link_options(ethercfg PRIVATE -static)

option(BUILD_TESTING "Build the programs the tests run under Wine" ON)
if(BUILD_TESTING)
  add_subdirectory(tests/windows)
endif()
