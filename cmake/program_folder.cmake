# The program folder a player unpacks (make windows): the programs, the sample
# reference data, the default script with its viewer files, the sample scripts and
# battles, and the guide and the script language's documentation as texts Notepad
# opens.
# tests/program_folder_check.cmake installs it and checks what it holds.
function(mirudana_install_program_folder)
    add_custom_target(program_folder DEPENDS sample)
    foreach(program mirudana mirudana-cli)
        if(TARGET ${program})
            install(TARGETS ${program} RUNTIME DESTINATION .)
            add_dependencies(program_folder ${program})
        endif()
    endforeach()
    set(folder ${CMAKE_BINARY_DIR}/bin)
    install(DIRECTORY ${folder}/system ${folder}/battles ${folder}/viewer ${folder}/scripts
        DESTINATION .)
    install(FILES ${folder}/engine.tts ${folder}/readme.txt ${folder}/script-language.txt
        DESTINATION .)
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL mirudana_install_program_folder)
