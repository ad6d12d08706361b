# `cpack` in a build folder makes a Debian package of what cmake/Install.cmake
# installs, named <program>_<application version>_<architecture>.deb.

set (CPACK_GENERATOR DEB)
set (CPACK_PACKAGE_NAME "${VT5150_PROGRAM}")
set (CPACK_PACKAGE_VERSION "${VT5150_APPLICATION_VERSION}")
set (CPACK_PACKAGE_VENDOR "Kelmora Audio")
set (CPACK_PACKAGE_CONTACT "Kelmora Audio <support@kelmora.invalid>")
set (CPACK_PACKAGE_DESCRIPTION_SUMMARY "firmware updater for the VT-5150 MIDI control surface")
set (CPACK_PACKAGE_DESCRIPTION
"A wizard that writes the firmware built into it into a Kelmora VT-5150
control surface over MIDI System Exclusive. It leads its user through putting
the device into its update mode, finds it on the computer's MIDI ports and
shows the transfer's progress.
.
It needs a VT-5150 connected over USB MIDI.")
set (CPACK_STRIP_FILES ON)

set (CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set (CPACK_DEBIAN_PACKAGE_SECTION sound)
set (CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set (CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set (CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
     OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include (CPack)
