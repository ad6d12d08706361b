# The Windows build, cross-compiled with MinGW-w64 (scripts/build-windows):
# single static .exe files with an icon and version information, the updater a
# GUI program and the demo a console program, since it takes options and prints.

# JUCE's JPEG loader needs a declaration that libjpeg-turbo leaves out on Windows; see the header.
target_include_directories (vt5150_juce BEFORE PRIVATE "${CMAKE_CURRENT_LIST_DIR}/windows")

set_target_properties (vt5150-updater PROPERTIES WIN32_EXECUTABLE TRUE)

# The icon: the Linux icon's pictures (packaging/icons, at every size that
# cmake/Product.cmake names) in one .ico file.
find_program (VT5150_CONVERT convert REQUIRED)
set (VT5150_ICON "${CMAKE_BINARY_DIR}/resources/VT5150.ico")
list (TRANSFORM VT5150_ICON_SIZES REPLACE "(.+)" "${CMAKE_SOURCE_DIR}/packaging/icons/icon-\\1.png"
      OUTPUT_VARIABLE VT5150_ICON_PICTURES)
add_custom_command (
    OUTPUT "${VT5150_ICON}"
    COMMAND "${VT5150_CONVERT}" ${VT5150_ICON_PICTURES} "${VT5150_ICON}"
    DEPENDS ${VT5150_ICON_PICTURES}
    COMMENT "Gathering the program icon's pictures into an .ico file"
    VERBATIM)

enable_language (RC)

# vt5150_add_windows_resources (<program> <description>): the icon and version information.
function (vt5150_add_windows_resources target description)
    set (VT5150_RC_FILE ${target})
    set (VT5150_RC_DESCRIPTION "${description}")
    set (rc "${CMAKE_BINARY_DIR}/resources/${target}.rc")
    configure_file ("${CMAKE_SOURCE_DIR}/packaging/windows/Program.rc.in" "${rc}" @ONLY)
    set_source_files_properties ("${rc}" PROPERTIES OBJECT_DEPENDS "${VT5150_ICON}")
    target_sources (${target} PRIVATE "${rc}")
endfunction()

vt5150_add_windows_resources (vt5150-updater "${VT5150_PRODUCT}")
vt5150_add_windows_resources (vt5150-updater-demo "${VT5150_PRODUCT} demo, with a simulated VT-5150")

# The tools run on the build machine; build them for Windows only when asked for.
set_target_properties (vt5150_tools vt5150-flashsim vt5150-transfer-bench PROPERTIES EXCLUDE_FROM_ALL TRUE)

# Test equipment for the Wine tests: reports a program's own exit code, which
# Wine's status loses when Wine crashes tearing down a process that used MIDI.
add_executable (vt5150-exit-code tests/windows/ExitCodeParent.cpp)
target_link_libraries (vt5150-exit-code PRIVATE vt5150_warnings)

get_property (vt5150_targets DIRECTORY PROPERTY BUILDSYSTEM_TARGETS)

foreach (target IN LISTS vt5150_targets)
    get_target_property (type ${target} TYPE)

    if (type STREQUAL "EXECUTABLE")
        # No DLL beside the program: the C and C++ runtimes and winpthreads are linked in.
        target_link_options (${target} PRIVATE -static $<$<CONFIG:Release>:-s>)
    endif()
endforeach()

include (WindowsInstaller)   # target vt5150-windows-packages: the NSIS installer and the zip
