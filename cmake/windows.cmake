# Windows programs: the same 8 MiB main-thread stack a Linux program gets, since
# scripts run on the main thread, and one manifest for every executable (UTF-8
# active code page, per-monitor DPI awareness, common controls 6), so tests see
# the command line and file names as the programs do.
add_link_options(-Wl,--stack,8388608)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)

# Test programs run through a launcher that also reads GoogleTest's report.
set(MIRUDANA_TEST_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-gtest ${CMAKE_BINARY_DIR}/wine-prefix)

set(MIRUDANA_MANIFEST_RC ${CMAKE_CURRENT_LIST_DIR}/windows/manifest.rc)

function(mirudana_add_manifests dir)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "EXECUTABLE")
            target_sources(${target} PRIVATE ${MIRUDANA_MANIFEST_RC})
        endif()
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(subdir ${subdirs})
        mirudana_add_manifests(${subdir})
    endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL mirudana_add_manifests ${CMAKE_SOURCE_DIR})
