# A Windows build made on Linux runs its tests under Wine, in a Wine prefix of the build's own
# (so that no user's Wine settings matter) and without Wine's debug chatter. GoogleTest's test
# lists are then read when the tests run, not while building, so the build itself needs no Wine.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    find_program(KT63_WINE wine)
    if(KT63_WINE)
        set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/winerun.sh env
                                          WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix
                                          WINEDEBUG=-all ${KT63_WINE})
    else()
        message(STATUS "Wine not found: the Windows tests are built but cannot run here")
    endif()
endif()

# The Linux build whose programs the Windows ones are compared with, output for output.
set(KT63_LINUX_BUILD ${PROJECT_SOURCE_DIR}/build CACHE PATH
    "The Linux build whose programs the Windows programs are compared with")

# A suite that needs what only Linux has: CTest lists it as skipped, with the reason.
function(kt63_skipped_on_windows name reason)
    add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E echo "SKIP   : ${reason}")
    set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "SKIP   : ")
endfunction()
