# What `cmake --install` puts on a desktop system: the updater, its manual
# page, its desktop entry, its icon in the hicolor theme, its AppStream
# metainfo, and its copyright file and change log. The demo, the tools, the benchmark and the
# tests stay out.

include (GNUInstallDirs)

set (VT5150_PROGRAM vt5150-updater)

# When this version was released, for the metainfo and, written as Debian's
# change log wants it, for the change log; and who answers for the package.
set (VT5150_RELEASE_DATE "2026-12-06")
set (VT5150_RELEASE_TIME "Sun, 06 Dec 2026 12:00:00 +0000")
set (VT5150_CONTACT "${VT5150_COMPANY} <support@kelmora.invalid>")

install (TARGETS ${VT5150_PROGRAM} RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

set (VT5150_DESKTOP_FILE "${CMAKE_BINARY_DIR}/packaging/${VT5150_APP_ID}.desktop")
set (VT5150_METAINFO_FILE "${CMAKE_BINARY_DIR}/packaging/${VT5150_APP_ID}.metainfo.xml")
configure_file (packaging/application.desktop.in "${VT5150_DESKTOP_FILE}" @ONLY)
configure_file (packaging/application.metainfo.xml.in "${VT5150_METAINFO_FILE}" @ONLY)

install (FILES "${VT5150_DESKTOP_FILE}" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install (FILES "${VT5150_METAINFO_FILE}" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

foreach (size IN LISTS VT5150_ICON_SIZES)
    install (FILES packaging/icons/icon-${size}.png
             DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
             RENAME "${VT5150_APP_ID}.png")
endforeach()

# vt5150_configure_compressed (<template> <file>): the template filled in,
# then compressed as Debian wants manual pages and change logs, into <file>.gz.
function (vt5150_configure_compressed template file)
    configure_file ("${template}" "${file}" @ONLY)
    execute_process (COMMAND gzip -9 -n -c "${file}" OUTPUT_FILE "${file}.gz" COMMAND_ERROR_IS_FATAL ANY)
endfunction()

string (TOUPPER "${VT5150_PROGRAM}" VT5150_PROGRAM_UPPER)

# The manual page's update steps are the program's own page texts, Step 1. to
# Step 7., written in as roff; a change to the texts configures the build again.
include (PageTexts)
vt5150_read_page_texts (vt5150_page_texts)
set_property (DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ui/PageTexts.cpp)
set (VT5150_MANUAL_STEPS)
foreach (step RANGE 1 7)
    list (GET vt5150_page_texts ${step} text)
    string (REPLACE "\\" "\\e" text "${text}")
    string (REPLACE "-" "\\-" text "${text}")
    string (REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
    string (REPLACE "\n" "\n.br\n" text "${text}")
    string (APPEND VT5150_MANUAL_STEPS ".IP ${step}. 4\n${text}\n")
endforeach()
string (STRIP "${VT5150_MANUAL_STEPS}" VT5150_MANUAL_STEPS)
set (VT5150_MANUAL "${CMAKE_BINARY_DIR}/packaging/${VT5150_PROGRAM}.1")
vt5150_configure_compressed (packaging/manual.1.in "${VT5150_MANUAL}")
install (FILES "${VT5150_MANUAL}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")

# Debian's change log format.
set (VT5150_CHANGELOG "${CMAKE_BINARY_DIR}/packaging/changelog")
vt5150_configure_compressed (packaging/changelog.in "${VT5150_CHANGELOG}")

set (VT5150_COPYRIGHT "${CMAKE_BINARY_DIR}/packaging/copyright")
configure_file (packaging/copyright.in "${VT5150_COPYRIGHT}" @ONLY)

install (FILES "${VT5150_COPYRIGHT}" "${VT5150_CHANGELOG}.gz"
         DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/${VT5150_PROGRAM}")
