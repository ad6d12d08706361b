# vt5150-windows-port-tests.exe: the winmm MIDI ports driven directly, against
# drivers faked in the test and against a simulated VT-5150 behind Wine's own
# winmm, and the reply store's wait on Windows' own lock. GoogleTest is cross-built from Debian's sources (libgtest-dev), and
# the program is built on request only: scripts/test-windows builds and runs it.

set (VT5150_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources, cross-built for the Windows tests")
set (INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set (BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory ("${VT5150_GTEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)

add_executable (vt5150-windows-port-tests EXCLUDE_FROM_ALL
    tests/TestMain.cpp
    tests/windows/FakeWinmm.cpp
    tests/windows/MidiInputAssemblerTests.cpp
    tests/windows/ReplyStoreWaitTests.cpp
    tests/windows/WindowsMidiInputTests.cpp
    tests/windows/WindowsMidiOutputTests.cpp
    tests/windows/WindowsPortExchangeTests.cpp)

target_link_libraries (vt5150-windows-port-tests PRIVATE vt5150_sim gtest vt5150_warnings)
target_link_options (vt5150-windows-port-tests PRIVATE -static)

# vt5150-windows-transfer-bench.exe: a transfer over the updater's winmm ports
# beside a bare winmm client, run under Wine by scripts/test-windows, which
# prints its figures (tests/windows/wine_transfer_bench.sh).
add_executable (vt5150-windows-transfer-bench EXCLUDE_FROM_ALL
    tests/windows/WineTransferBench.cpp
    tests/windows/BareWinmmClient.cpp
    bench/BenchOptions.cpp
    bench/TransferMessages.cpp)

target_link_libraries (vt5150-windows-transfer-bench PRIVATE vt5150_tools winmm vt5150_warnings)
target_link_options (vt5150-windows-transfer-bench PRIVATE -static)
