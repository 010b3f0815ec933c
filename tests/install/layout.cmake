cmake_minimum_required(VERSION 3.25)
# The installed tree holds exactly these files, each in working shape.
set(expected
    bin/scaffaria
    share/applications/${APP_ID}.desktop
    share/doc/scaffaria/Guida.pdf
    share/doc/scaffaria/LICENSE
    share/doc/scaffaria/README.md
    share/doc/scaffaria/copyright
    share/icons/hicolor/128x128/apps/${APP_ID}.png
    share/icons/hicolor/256x256/apps/${APP_ID}.png
    share/icons/hicolor/48x48/apps/${APP_ID}.png
    share/icons/hicolor/scalable/apps/${APP_ID}.svg
    share/metainfo/${APP_ID}.metainfo.xml
    share/scaffaria/unins000.dll)

file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
    list(JOIN found "\n  " found_text)
    list(JOIN expected "\n  " expected_text)
    message(FATAL_ERROR "installed files:\n  ${found_text}\nexpected:\n  ${expected_text}")
endif()

set(failures)
macro(fail text)
    list(APPEND failures "${text}")
endmacro()

execute_process(COMMAND test -x "${PREFIX}/bin/scaffaria" RESULT_VARIABLE notexec)
if(NOT notexec EQUAL 0)
    fail("bin/scaffaria is not executable")
endif()

# Each PNG is square at its theme size: width and height from the IHDR chunk.
foreach(size 48 128 256)
    file(READ "${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png" header
         LIMIT 24 HEX)
    string(SUBSTRING "${header}" 0 16 signature)
    string(SUBSTRING "${header}" 32 16 dimensions)
    math(EXPR hex_size "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${hex_size}" 2 -1 digits)
    string(LENGTH "${digits}" length)
    math(EXPR pad "8 - ${length}")
    string(REPEAT "0" ${pad} zeros)
    string(TOLOWER "${zeros}${digits}${zeros}${digits}" want)
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT dimensions STREQUAL want)
        fail("${size}x${size} icon is not a ${size} pixel PNG (${header})")
    endif()
endforeach()

# The template holds the initial password, as the portable build's first store does.
file(READ "${PREFIX}/share/scaffaria/unins000.dll" store)
if(NOT store STREQUAL "[Accesso]\nValore=6763ED177AFEAE9E20CF36655AC8\n")
    fail("password store template: ${store}")
endif()

file(READ "${PREFIX}/share/doc/scaffaria/LICENSE" licence)
if(NOT licence MATCHES "GNU GENERAL PUBLIC LICENSE\n +Version 3, 29 June 2007")
    fail("LICENSE is not the GPL version 3")
endif()

file(READ "${PREFIX}/share/doc/scaffaria/Guida.pdf" pdf LIMIT 5 HEX)
if(NOT pdf STREQUAL "255044462d") # "%PDF-"
    fail("Guida.pdf is not a PDF")
endif()

file(STRINGS "${PREFIX}/share/applications/${APP_ID}.desktop" entry)
foreach(line "Name=Scaffaria" "Exec=scaffaria" "Icon=${APP_ID}" "Terminal=false"
             "Categories=Office;")
    if(NOT line IN_LIST entry)
        fail("desktop entry lacks ${line}")
    endif()
endforeach()

if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "installed tree:\n  ${text}")
endif()
