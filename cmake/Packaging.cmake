# `cpack` in a build folder makes a Debian package of what cmake/Install.cmake
# installs, named <program>_<application version>_<architecture>.deb.

set (CPACK_GENERATOR DEB)
set (CPACK_PACKAGE_NAME "${VT5150_PROGRAM}")
set (CPACK_PACKAGE_VERSION "${VT5150_APPLICATION_VERSION}")
set (CPACK_PACKAGE_VENDOR "${VT5150_COMPANY}")
set (CPACK_PACKAGE_CONTACT "${VT5150_CONTACT}")
set (CPACK_PACKAGE_DESCRIPTION_SUMMARY "firmware updater for the VT-5150 MIDI control surface")
set (CPACK_PACKAGE_DESCRIPTION
"A wizard that writes the firmware built into it into a ${VT5150_COMPANY} VT-5150
control surface over MIDI System Exclusive. It leads its user through putting
the device into its update mode, finds it on the computer's MIDI ports and
shows the transfer's progress.
.
It needs a VT-5150 connected over USB MIDI.")
set (CPACK_STRIP_FILES ON)

set (CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set (CPACK_DEBIAN_PACKAGE_SECTION sound)
set (CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# JUCE opens the X11 libraries itself at run time, out of dpkg-shlibdeps' sight:
# the two that a window cannot do without are named here; those that it uses
# when present are recommended, with the font that its texts are drawn in.
set (CPACK_DEBIAN_PACKAGE_DEPENDS "libx11-6, libxext6")
set (CPACK_DEBIAN_PACKAGE_RECOMMENDS "libxcursor1, libxinerama1, libxrandr2, fonts-dejavu-core")
set (CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set (CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
     OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include (CPack)
