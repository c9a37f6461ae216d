# Installs the program folder into PREFIX from the build BUILD and checks that it
# holds what a player needs: the programs, the reference data, the scripts with the
# viewer's files, the battles, and the guide and documentation as texts Notepad
# opens (UTF-8 with a byte-order mark, CR LF).
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "install failed: ${status}")
endif()
foreach(item mirudana-cli${EXE} system/cards/master.dat system/state/state.dat engine.tts
        battles viewer/main.js viewer/viewer.css scripts/export-csv.tts scripts/export-json.tts
        scripts/export-jsonl.tts scripts/parts/json.tts scripts/statistics.tts
        readme.txt script-language.txt)
    if(NOT EXISTS ${PREFIX}/${item})
        message(FATAL_ERROR "the program folder lacks ${item}")
    endif()
endforeach()
# Read as bytes: file(READ) as text would drop the CRs.
foreach(text readme.txt script-language.txt)
    file(READ ${PREFIX}/${text} bytes HEX)
    string(REGEX REPLACE "(..)" " \\1" bytes "${bytes}")
    string(REPLACE " 0d 0a" "" lone "${bytes}")
    string(FIND "${lone}" " 0a" lone_line_feed)
    if(NOT bytes MATCHES "^ ef bb bf" OR NOT lone_line_feed EQUAL -1 OR lone STREQUAL bytes)
        message(FATAL_ERROR "${text} is not UTF-8 with a byte-order mark and CR LF line ends")
    endif()
endforeach()
