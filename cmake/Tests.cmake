# One GoogleTest executable per source folder, each discovered by ctest.
# Suites that exercise threads carry a label containing "threaded" (selected
# by ctest -L as a regular expression), which the ThreadSanitizer pass of
# scripts/test runs; suites that open windows, one containing "gui".
#
# Tests run in parallel (ctest -j) except where they share something, named
# by a resource lock: the suites that open windows on the display that ctest
# runs on share it, and the tests that start the updater or the demo (each on
# a private display) share the single instance that may run at a time.
set (VT5150_DISPLAY_LOCK vt5150-display)
set (VT5150_INSTANCE_LOCK vt5150-single-instance)

enable_testing()
find_package (GTest REQUIRED)
include (GoogleTest)

add_library (vt5150_test_main STATIC tests/TestMain.cpp)
target_link_libraries (vt5150_test_main PUBLIC vt5150_sim GTest::gtest PRIVATE vt5150_warnings)

function (vt5150_add_test_suite name label)
    add_executable (${name} ${ARGN})
    target_link_libraries (${name} PRIVATE vt5150_test_main vt5150_warnings)
    set (lock)
    if (label MATCHES "gui")
        set (lock RESOURCE_LOCK ${VT5150_DISPLAY_LOCK})
    endif()
    gtest_discover_tests (${name} PROPERTIES LABELS "${label}" ${lock} DISCOVERY_TIMEOUT 60)
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
    tests/ui/ErrorBoxTests.cpp
    tests/ui/HighDensityTests.cpp
    tests/ui/OnePagePerPressTests.cpp
    tests/ui/UpdaterWindowTests.cpp
    tests/ui/WizardAccessibilityTests.cpp
    tests/ui/WizardKeyboardTests.cpp
    tests/app/UpdaterApplicationTests.cpp)
# Its held-key test sends the display's own key events.
target_link_libraries (vt5150-wizard-tests PRIVATE X11)

# The real programs driven as a user would, with xdotool on a private Xvfb.
add_test (NAME Updater.AsAUserWouldDriveIt
          COMMAND "${CMAKE_SOURCE_DIR}/tests/app/updater_gui_test.sh" $<TARGET_FILE:vt5150-updater-demo>
                  $<TARGET_FILE:vt5150-updater> "${CMAKE_BINARY_DIR}/gui-test-shots")
set_tests_properties (Updater.AsAUserWouldDriveIt PROPERTIES RESOURCE_LOCK ${VT5150_INSTANCE_LOCK} LABELS "gui" TIMEOUT 300)

# The demo's window driven with the keyboard alone, through a whole update and both error boxes.
add_test (NAME Updater.FromTheKeyboard
          COMMAND "${CMAKE_SOURCE_DIR}/tests/app/keyboard_gui_test.sh" $<TARGET_FILE:vt5150-updater-demo>
                  "${CMAKE_BINARY_DIR}/keyboard-test-shots")
set_tests_properties (Updater.FromTheKeyboard PROPERTIES RESOURCE_LOCK ${VT5150_INSTANCE_LOCK} LABELS "gui" TIMEOUT 300)

# The environment that preloads the ALSA sequencer stand-in. LD_PRELOAD splits
# at spaces, so it names the library alone, which the loader then looks for
# along the test program's run path: that names the library's folder.
set (vt5150_preload_standin "LD_PRELOAD=$<TARGET_FILE_NAME:vt5150_alsa_seq_standin>")

# The system MIDI port layer over JUCE's own Linux MIDI code, with the ALSA
# sequencer stand-in preloaded.
add_executable (vt5150-system-midi-tests tests/midi/SystemMidiPortsTests.cpp)
target_link_libraries (vt5150-system-midi-tests PRIVATE vt5150_test_main vt5150_warnings)
add_dependencies (vt5150-system-midi-tests vt5150_alsa_seq_standin)
set_target_properties (vt5150-system-midi-tests PROPERTIES BUILD_RPATH "$<TARGET_FILE_DIR:vt5150_alsa_seq_standin>")
gtest_discover_tests (vt5150-system-midi-tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "threaded"
    ENVIRONMENT "${vt5150_preload_standin}")

# The sequencer stand-in itself, preloaded: what it refuses as the kernel does.
add_executable (vt5150-standin-tests tests/alsa-standin/SequencerStandInTests.cpp)
target_link_libraries (vt5150-standin-tests PRIVATE GTest::gtest_main PkgConfig::VT5150_ALSA vt5150_warnings)
add_dependencies (vt5150-standin-tests vt5150_alsa_seq_standin)
set_target_properties (vt5150-standin-tests PROPERTIES BUILD_RPATH "$<TARGET_FILE_DIR:vt5150_alsa_seq_standin>")
gtest_discover_tests (vt5150-standin-tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60
    ENVIRONMENT "${vt5150_preload_standin}")

# A wrong machine or trace refused as the stand-in loads.
add_test (NAME StandIn.CommandLine
          COMMAND "${CMAKE_SOURCE_DIR}/tests/alsa-standin/standin_test.sh" $<TARGET_FILE:vt5150_alsa_seq_standin>)

# The real updater, unchanged, on JUCE's own Linux MIDI code over the stand-in, driven as a user would.
add_test (NAME Updater.OnSystemMidi
          COMMAND "${CMAKE_SOURCE_DIR}/tests/app/system_midi_gui_test.sh" $<TARGET_FILE:vt5150-updater>
                  $<TARGET_FILE:vt5150_alsa_seq_standin> $<TARGET_FILE:vt5150-seq-device>
                  "${CMAKE_BINARY_DIR}/system-midi-shots")
set_tests_properties (Updater.OnSystemMidi PROPERTIES RESOURCE_LOCK ${VT5150_INSTANCE_LOCK} LABELS "gui-threaded" TIMEOUT 400)

# Every fault of the simulated device, and combinations, through the real
# window: the page and box a user sees, and how the program ends.
add_test (NAME Updater.FaultMatrix
          COMMAND "${CMAKE_SOURCE_DIR}/tests/app/fault_matrix_test.sh" $<TARGET_FILE:vt5150-updater-demo>
                  "${CMAKE_BINARY_DIR}/fault-matrix-shots")
set_tests_properties (Updater.FaultMatrix PROPERTIES RESOURCE_LOCK ${VT5150_INSTANCE_LOCK} LABELS "gui" TIMEOUT 900)

# A page in Debian's headless Chromium, on Web MIDI with SysEx over the
# stand-in, exchanging with the simulated VT-5150: the laboratory
# (tests/web/browser.py) that the web updater's tests stand on. Label "web".
add_test (NAME Web.BarePageExchangesWithTheDevice
          COMMAND /usr/bin/python3 "${CMAKE_SOURCE_DIR}/tests/web/bare_page_test.py" "${CMAKE_BINARY_DIR}")
set_tests_properties (Web.BarePageExchangesWithTheDevice PROPERTIES LABELS "web" TIMEOUT 180)

# The web page, built by scripts/test into web/site of this build folder
# (vt5150_build_web): its compiled device code under node, the page's logic
# and keys over a fake MIDI inside the page, and whole updates over the
# browser's Web MIDI and the stand-in.
set (VT5150_WEB_SITE "${CMAKE_BINARY_DIR}/web/site")
add_test (NAME WebPage.CompiledDeviceCode
          COMMAND node "${CMAKE_SOURCE_DIR}/tests/web/module_test.mjs" "${VT5150_WEB_SITE}")
add_test (NAME WebPage.WizardAndKeys
          COMMAND /usr/bin/python3 "${CMAKE_SOURCE_DIR}/tests/web/page_test.py" "${CMAKE_BINARY_DIR}" "${VT5150_WEB_SITE}")
add_test (NAME WebPage.UpdatesOverTheStandIn
          COMMAND /usr/bin/python3 "${CMAKE_SOURCE_DIR}/tests/web/standin_update_test.py" "${CMAKE_BINARY_DIR}"
                  "${VT5150_WEB_SITE}")
set_tests_properties (WebPage.CompiledDeviceCode WebPage.WizardAndKeys WebPage.UpdatesOverTheStandIn
                      PROPERTIES LABELS "web" TIMEOUT 300)
# Debian's Orca reading the page in Chromium on a private display and session bus.
add_test (NAME WebPage.ReadByOrca
          COMMAND "${CMAKE_SOURCE_DIR}/tests/web/screen_reader_test.sh" "${CMAKE_BINARY_DIR}" "${VT5150_WEB_SITE}")
set_tests_properties (WebPage.ReadByOrca PROPERTIES LABELS "web" TIMEOUT 300)

# The Debian package of this build: its files and metadata checked, then unpacked and its program run.
add_test (NAME Package.InstallsAndRuns
          COMMAND "${CMAKE_SOURCE_DIR}/tests/packaging/package_test.sh" "${CMAKE_BINARY_DIR}"
                  "${CMAKE_BINARY_DIR}/package-test-shots")
set_tests_properties (Package.InstallsAndRuns PROPERTIES RESOURCE_LOCK ${VT5150_INSTANCE_LOCK} LABELS "gui" TIMEOUT 300)

# The same updates over the Linux kernel's own sequencer and raw MIDI, in a
# virtual machine that boots Debian's kernel (tests/vm/run_in_vm.sh), compared
# with the stand-in. Label "vm": run them alone with ctest -L vm.
add_library (vt5150_seq_event_log SHARED tests/vm/SeqEventLog.cpp)
target_link_libraries (vt5150_seq_event_log PRIVATE PkgConfig::VT5150_ALSA ${CMAKE_DL_LIBS} vt5150_warnings)
set_target_properties (vt5150_seq_event_log PROPERTIES LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/lib")

# The machine itself: it shows a build folder under /tmp, with a space in its path.
add_test (NAME TestMachine.SharesFoldersUnderTmp COMMAND "${CMAKE_SOURCE_DIR}/tests/vm/run_in_vm_test.sh")
set_tests_properties (TestMachine.SharesFoldersUnderTmp PROPERTIES LABELS "vm" TIMEOUT 700)

# The machine's run takes minutes under emulation and needs no updater of
# this machine: it starts first (COST) and without the instance lock, and the
# run over the stand-in, which compares the two, follows it.
set (vt5150_kernel_midi_arguments "${CMAKE_BINARY_DIR}" "${CMAKE_BINARY_DIR}/kernel-midi"
     $<TARGET_FILE:vt5150-updater> $<TARGET_FILE:vt5150-seq-device> $<TARGET_FILE:vt5150_alsa_seq_standin>
     $<TARGET_FILE:vt5150_seq_event_log> $<TARGET_FILE:vt5150-system-midi-tests>)
add_test (NAME Updater.OnKernelMidi
          COMMAND "${CMAKE_SOURCE_DIR}/tests/vm/kernel_midi_test.sh" kernel ${vt5150_kernel_midi_arguments})
set_tests_properties (Updater.OnKernelMidi PROPERTIES
    FIXTURES_SETUP KernelMidi COST 10000 LABELS "vm" TIMEOUT 1500)
add_test (NAME Updater.KernelMidiMatchesStandIn
          COMMAND "${CMAKE_SOURCE_DIR}/tests/vm/kernel_midi_test.sh" compare ${vt5150_kernel_midi_arguments})
set_tests_properties (Updater.KernelMidiMatchesStandIn PROPERTIES
    FIXTURES_REQUIRED KernelMidi RESOURCE_LOCK ${VT5150_INSTANCE_LOCK} LABELS "vm" TIMEOUT 400)

# The README's copy of the update steps, held to the program's page texts.
add_test (NAME Docs.ReadmeStepsMatchProgram
          COMMAND "${CMAKE_COMMAND}" -P "${CMAKE_SOURCE_DIR}/tests/docs/readme_steps_test.cmake")

# Headless Chromium's Web MIDI over the kernel's own MIDI, in the same
# machine, with udev marking the virtual card ready as Chromium needs. Starting
# the browser there takes minutes, so one browser does the bare page's
# exchange and then a whole update on the web page (9 ms an exchange there).
add_test (NAME Web.PageOnKernelMidi
          COMMAND "${CMAKE_SOURCE_DIR}/tests/web/kernel_midi_web_test.sh" "${CMAKE_BINARY_DIR}" "${VT5150_WEB_SITE}")
set_tests_properties (Web.PageOnKernelMidi PROPERTIES COST 6000 LABELS "vm;web" TIMEOUT 1500)

# The shell tests read the product's names and versions from this build.
get_property (vt5150_shell_tests DIRECTORY PROPERTY TESTS)
set_property (TEST ${vt5150_shell_tests} APPEND PROPERTY
              ENVIRONMENT "VT5150_FACTS=${CMAKE_BINARY_DIR}/generated/product-facts.sh")
