# The Windows build's tool under Wine. ETHERCFG_WINDOWS_BUILD names the folder
# of a 64-bit Windows build (cmake --preset windows-x64); when it is set, the
# end-to-end tables run again with its ethercfg.exe and the scripted
# packet.dll, and with them the cases that are Windows' own. Their names
# begin with "wine.".
set(ETHERCFG_WINDOWS_BUILD "" CACHE PATH
    "Folder of a 64-bit Windows build whose tool the tests also run under Wine")

add_executable(windows_tests windows_test.cpp)
target_link_libraries(windows_tests PRIVATE run_tool GTest::gtest_main)

if(NOT ETHERCFG_WINDOWS_BUILD)
  return()
endif()
set(wine_tests ${ETHERCFG_WINDOWS_BUILD}/wine-tests)
if(NOT EXISTS ${wine_tests}/ethercfg.exe)
  message(FATAL_ERROR "${wine_tests}/ethercfg.exe is missing: build it first with "
          "cmake --preset windows-x64 && cmake --build --preset windows-x64")
endif()
# /usr/lib/wine/wine64 starts 64-bit programs (/usr/bin/wine is the 32-bit loader).
find_program(ETHERCFG_WINE wine64 HINTS /usr/lib/wine)
find_program(ETHERCFG_WINESERVER wineserver HINTS /usr/lib/wine)
if(NOT ETHERCFG_WINE OR NOT ETHERCFG_WINESERVER)
  message(FATAL_ERROR "wine64 and wineserver are needed to run the Windows build")
endif()

# A prefix of the tests' own. Its first start takes seconds and leaves
# services running that keep whatever streams they were given, so a
# persistent server and the services are started once here, on /dev/null,
# and the server is ended, with everything it runs, when the tests are over.
set(wine_env
    WINEPREFIX=${CMAKE_CURRENT_BINARY_DIR}/wineprefix
    WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=d)
add_test(NAME wine.start
  COMMAND sh -c "\"$0\" -p </dev/null >/dev/null 2>&1; \"$1\" wineboot -i </dev/null >/dev/null 2>&1"
          ${ETHERCFG_WINESERVER} ${ETHERCFG_WINE})
add_test(NAME wine.stop COMMAND sh -c "\"$0\" -k; \"$0\" -w; exit 0" ${ETHERCFG_WINESERVER})
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "${wine_env}")
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine ENVIRONMENT "${wine_env}")

set(tool_env ${wine_env}
    "ETHERCFG_TOOL=${ETHERCFG_WINE} ${wine_tests}/ethercfg.exe"
    ETHERCFG_CONSOLE_CRLF=1
    ETHERCFG_WINE=${ETHERCFG_WINE}
    ETHERCFG_WINE_TESTS=${wine_tests})
# Each runs as one test: the properties of tests found by gtest_discover_tests
# cannot carry a list of environment variables.
add_test(NAME wine.e2e_tests COMMAND e2e_tests)
add_test(NAME wine.windows_tests COMMAND windows_tests)
set_tests_properties(wine.e2e_tests wine.windows_tests PROPERTIES
  ENVIRONMENT "${tool_env}" FIXTURES_REQUIRED wine)
