# desktop-file-validate over the installed menu entry: no error, no warning, no hint.
find_program(validator desktop-file-validate)
if(NOT validator)
    message("SKIP: desktop-file-validate is missing (Debian package desktop-file-utils)")
    return()
endif()
execute_process(COMMAND "${validator}" "${PREFIX}/share/applications/${APP_ID}.desktop"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT output STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate (${result}):\n${output}")
endif()
