# vt5150-windows-port-tests.exe: the winmm MIDI ports driven directly, against
# drivers faked in the test and against a simulated VT-5150 behind Wine's own
# winmm. GoogleTest is cross-built from Debian's sources (libgtest-dev), and
# the program is built on request only: scripts/test-windows builds and runs it.

set (VT5150_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources, cross-built for the Windows tests")
set (INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set (BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory ("${VT5150_GTEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)

add_executable (vt5150-windows-port-tests EXCLUDE_FROM_ALL
    tests/TestMain.cpp
    tests/windows/MidiInputAssemblerTests.cpp
    tests/windows/WindowsMidiInputTests.cpp
    tests/windows/WindowsMidiOutputTests.cpp
    tests/windows/WindowsPortExchangeTests.cpp)

target_link_libraries (vt5150-windows-port-tests PRIVATE vt5150_sim gtest vt5150_warnings)
target_link_options (vt5150-windows-port-tests PRIVATE -static)
