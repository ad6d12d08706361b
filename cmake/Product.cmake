# The facts that name the product, each written here once: the program's texts
# (through the header generated below), its desktop entry and metainfo, its
# Debian package, its Windows resources and installer all take them from here.

set (VT5150_COMPANY "Kelmora Audio")
set (VT5150_PRODUCT "VT5150 Firmware Updater")
set (VT5150_APP_ID "com.kelmora.VT5150Updater")
set (VT5150_COPYRIGHT_YEAR 2026)

# The sizes of the icon, drawn by tools/draw_icons.py into packaging/icons/.
set (VT5150_ICON_SIZES 16 32 48 64 128 256)

# The version of the firmware image built into the program, resources/firmware.bin.
set (VT5150_FIRMWARE_VERSION_MAJOR 1)
set (VT5150_FIRMWARE_VERSION_MINOR 31)

# vt5150_version_text (<variable> <major> <minor>): a version as the program
# writes it, "%d.%02d": the major number, a point, the minor number in two digits.
function (vt5150_version_text variable major minor)
    if (minor LESS 10)
        set (minor "0${minor}")
    endif()
    set (${variable} "${major}.${minor}" PARENT_SCOPE)
endfunction()

# The application version is the project's: 2.1 is written 2.01.
vt5150_version_text (VT5150_APPLICATION_VERSION ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR})
vt5150_version_text (VT5150_FIRMWARE_VERSION ${VT5150_FIRMWARE_VERSION_MAJOR} ${VT5150_FIRMWARE_VERSION_MINOR})

# The application's name, which is also its windows' title and class and the
# name of its single-instance lock.
set (VT5150_APPLICATION_NAME "${VT5150_PRODUCT} - Firmware Version: ${VT5150_FIRMWARE_VERSION}")

configure_file (app/ProductFacts.h.in "${CMAKE_BINARY_DIR}/generated/app/ProductFacts.h" @ONLY)

# The same facts for the shell: the window driver and the tests that drive
# the programs source it, so that they look for what the build made.
string (REPLACE ";" " " VT5150_ICON_SIZES_TEXT "${VT5150_ICON_SIZES}")
configure_file (tests/harness/product-facts.sh.in "${CMAKE_BINARY_DIR}/generated/product-facts.sh" @ONLY)

foreach (size IN LISTS VT5150_ICON_SIZES)
    if (NOT EXISTS "${CMAKE_SOURCE_DIR}/packaging/icons/icon-${size}.png")
        message (FATAL_ERROR "packaging/icons/icon-${size}.png is missing: draw the icons with the target vt5150-icons")
    endif()
endforeach()

# Draws the icons again, at every size above, into the source tree's
# packaging/icons/, with Debian's own Python, which python3-pil serves.
find_program (VT5150_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
add_custom_target (vt5150-icons
    COMMAND "${VT5150_PYTHON3}" "${CMAKE_SOURCE_DIR}/tools/draw_icons.py" "${CMAKE_SOURCE_DIR}/packaging/icons"
            ${VT5150_ICON_SIZES}
    COMMENT "Drawing the icons into packaging/icons"
    VERBATIM)
