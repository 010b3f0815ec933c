# appstreamcli over the installed metadata, alone and with the tree it describes (menu
# entry and icon), without network access and failing on anything above a pedantic hint.
find_program(validator appstreamcli)
if(NOT validator)
    message("SKIP: appstreamcli is missing (Debian package appstream)")
    return()
endif()
foreach(check "validate;${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml"
              "validate-tree;${PREFIX}")
    list(GET check 0 command)
    list(GET check 1 target)
    execute_process(COMMAND "${validator}" ${command} --no-net --strict "${target}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "appstreamcli ${command} (${result}):\n${output}")
    endif()
endforeach()
