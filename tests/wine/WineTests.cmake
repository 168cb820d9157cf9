# Tests of the MinGW build run under Wine. One wineserver is kept alive for the whole run by a
# ctest fixture: without it every test program waits for the server to let go of ctest's pipe.

set(LINKSCOPE_WINE_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/wine)

add_test(NAME wine_start
         COMMAND ${LINKSCOPE_WINE_SCRIPTS}/start-wineserver.sh ${LINKSCOPE_WINEPREFIX})
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 900)
add_test(NAME wine_stop
         COMMAND ${LINKSCOPE_WINE_SCRIPTS}/stop-wineserver.sh ${LINKSCOPE_WINEPREFIX})
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 300)

# Adds one test per test program; the program runs under Wine through the emulator. The
# timeout only stops a program that hangs: a whole program's run takes minutes on a machine
# whose cores are busy with other work, so it is far above that.
function(linkscope_wine_test target)
  add_test(NAME ${target} COMMAND ${target} --gtest_color=no)
  set_tests_properties(${target} PROPERTIES
    FIXTURES_REQUIRED wine
    RESOURCE_LOCK wine_desktop
    TIMEOUT 3600)
endfunction()

linkscope_wine_test(core_tests)
add_subdirectory(${CMAKE_CURRENT_SOURCE_DIR}/win32 ${CMAKE_BINARY_DIR}/tests-win32)
