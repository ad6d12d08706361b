# One GoogleTest executable per source folder, each discovered by ctest.
# Suites that exercise threads carry a label containing "threaded" (selected
# by ctest -L as a regular expression), which the ThreadSanitizer pass of
# scripts/test runs; suites that open windows, one containing "gui".

enable_testing()
find_package (GTest REQUIRED)
include (GoogleTest)

add_library (vt5150_test_main STATIC tests/TestMain.cpp)
target_link_libraries (vt5150_test_main PUBLIC vt5150_sim GTest::gtest PRIVATE vt5150_warnings)

function (vt5150_add_test_suite name label)
    add_executable (${name} ${ARGN})
    target_link_libraries (${name} PRIVATE vt5150_test_main vt5150_warnings)
    gtest_discover_tests (${name} PROPERTIES LABELS "${label}" DISCOVERY_TIMEOUT 60)
endfunction()

# The headless flashing tool, run as QA would, checking its exit status, report and wire trace.
add_test (NAME FlashSim.CommandLine
          COMMAND "${CMAKE_SOURCE_DIR}/tests/tools/flashsim_test.sh" $<TARGET_FILE:vt5150-flashsim>)
set_tests_properties (FlashSim.CommandLine PROPERTIES LABELS "threaded")

vt5150_add_test_suite (vt5150-device-tests threaded
    tests/device/DeviceCommandsTests.cpp
    tests/device/DeviceLinkTests.cpp
    tests/device/DetectTests.cpp
    tests/device/TransferTests.cpp
    tests/device/TransferThreadTests.cpp)

vt5150_add_test_suite (vt5150-widget-tests gui
    tests/ui/AboutBoxTests.cpp
    tests/ui/ModalDialogTests.cpp
    tests/ui/PictureComponentTests.cpp
    tests/ui/TransferProgressBarTests.cpp)

vt5150_add_test_suite (vt5150-app-tests gui
    tests/app/ImageRegistryTests.cpp)

vt5150_add_test_suite (vt5150-wizard-tests gui-threaded
    tests/ui/UpdaterWindowTests.cpp
    tests/app/UpdaterApplicationTests.cpp)

# The real programs driven as a user would, with xdotool on a private Xvfb.
add_test (NAME Updater.AsAUserWouldDriveIt
          COMMAND "${CMAKE_SOURCE_DIR}/tests/app/updater_gui_test.sh" $<TARGET_FILE:vt5150-updater-demo>
                  $<TARGET_FILE:vt5150-updater> "${CMAKE_BINARY_DIR}/gui-test-shots")
set_tests_properties (Updater.AsAUserWouldDriveIt PROPERTIES LABELS "gui" TIMEOUT 300)

