# GoogleTest for the tests: the installed package on a native build; on a cross
# build, compiled from Debian's sources (package googletest) with the same
# toolchain. Without either the project still configures, without its tests.
set(MIRUDANA_GOOGLETEST_SOURCE /usr/src/googletest/googletest
    CACHE PATH "GoogleTest sources to compile when no GoogleTest for the target is installed")

find_package(GTest QUIET)
if(NOT GTest_FOUND AND EXISTS ${MIRUDANA_GOOGLETEST_SOURCE}/CMakeLists.txt)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${MIRUDANA_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest
        EXCLUDE_FROM_ALL SYSTEM)
    # Its sources are not held to this project's warning flags.
    target_compile_options(gtest PRIVATE -w)
    target_compile_options(gtest_main PRIVATE -w)
endif()
if(TARGET GTest::gtest)
    include(GoogleTest)
else()
    message(STATUS "GoogleTest not found: tests left out")
endif()
