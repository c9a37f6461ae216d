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

# The program folder a player unpacks (make windows): the programs, the sample
# reference data, the default script with its viewer files, the sample scripts and
# the sample battles.
function(mirudana_install_program_folder)
    add_custom_target(program_folder DEPENDS sample)
    foreach(program mirudana mirudana-cli)
        if(TARGET ${program})
            install(TARGETS ${program} RUNTIME DESTINATION .)
            add_dependencies(program_folder ${program})
        endif()
    endforeach()
    install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/system ${CMAKE_BINARY_DIR}/bin/battles
                      ${CMAKE_BINARY_DIR}/bin/viewer ${CMAKE_BINARY_DIR}/bin/scripts DESTINATION .)
    install(FILES ${CMAKE_BINARY_DIR}/bin/engine.tts DESTINATION .)
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL mirudana_install_program_folder)
