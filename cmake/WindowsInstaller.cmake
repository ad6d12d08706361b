# The Windows updater's installer, made with NSIS, and a zip of the same files
# for those who do not install: target vt5150-windows-packages.

find_program (VT5150_MAKENSIS makensis REQUIRED)

set (VT5150_PACKAGE_NAME "vt5150-updater-${VT5150_APPLICATION_VERSION}-windows-x64")
set (VT5150_PACKAGE_DIR "${CMAKE_BINARY_DIR}/package/${VT5150_PRODUCT}")
set (VT5150_INSTALLER "${CMAKE_BINARY_DIR}/${VT5150_PACKAGE_NAME}-setup.exe")
set (VT5150_ZIP "${CMAKE_BINARY_DIR}/${VT5150_PACKAGE_NAME}.zip")

configure_file ("${CMAKE_SOURCE_DIR}/packaging/windows/Installer.nsi.in" "${CMAKE_BINARY_DIR}/Installer.nsi" @ONLY)

add_custom_command (
    OUTPUT "${VT5150_INSTALLER}" "${VT5150_ZIP}"
    COMMAND "${CMAKE_COMMAND}" -E rm -rf "${CMAKE_BINARY_DIR}/package"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${VT5150_PACKAGE_DIR}"
    COMMAND "${CMAKE_COMMAND}" -E copy $<TARGET_FILE:vt5150-updater> "${VT5150_PACKAGE_DIR}/"
    COMMAND "${CMAKE_COMMAND}" -E copy "${CMAKE_SOURCE_DIR}/LICENSE" "${VT5150_PACKAGE_DIR}/LICENSE.txt"
    COMMAND "${VT5150_MAKENSIS}" -V2 -NOCD "${CMAKE_BINARY_DIR}/Installer.nsi"
    COMMAND "${CMAKE_COMMAND}" -E chdir "${CMAKE_BINARY_DIR}/package"
            "${CMAKE_COMMAND}" -E tar cf "${VT5150_ZIP}" --format=zip "${VT5150_PRODUCT}"
    DEPENDS vt5150-updater "${CMAKE_BINARY_DIR}/Installer.nsi" "${CMAKE_SOURCE_DIR}/LICENSE" "${VT5150_ICON}"
    COMMENT "Making the installer and the zip"
    VERBATIM)

add_custom_target (vt5150-windows-packages DEPENDS "${VT5150_INSTALLER}" "${VT5150_ZIP}")
