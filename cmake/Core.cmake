# vt5150_core: the updater's own code, shared by the program, the demo, the
# tools, the tests and the benchmark.

set (VT5150_APP_SOURCES
    app/ImageRegistry.cpp
    app/QuitSignalWatcher.cpp
    app/UpdaterApplication.cpp
    )

include (DeviceProtocol)

set (VT5150_DEVICE_SOURCES ${VT5150_PROTOCOL_SOURCES} device/TransferThread.cpp)

# The MIDI port layer: JUCE's ports, and on Windows also the updater's own
# winmm ports, which take their place there (see the Windows-only sources).
set (VT5150_MIDI_SOURCES
    midi/SystemMidiPorts.cpp)

set (VT5150_UI_SOURCES
    ui/AboutBox.cpp
    ui/BackgroundPicture.cpp
    ui/ErrorBox.cpp
    ui/FocusReturn.cpp
    ui/HeldKeyFilter.cpp
    ui/ModalDialog.cpp
    ui/PageTexts.cpp
    ui/PictureComponent.cpp
    ui/PictureWindowStyle.cpp
    ui/TransferProgressBar.cpp
    ui/UpdaterWindow.cpp
    ui/WizardButton.cpp
    ui/WizardKeyboard.cpp
    ui/WizardLookAndFeel.cpp
    )

# Each picture also at twice its size, for displays scaled above 100 %.
set (VT5150_RESOURCE_SOURCES
    "${CMAKE_BINARY_DIR}/resources/DevicePicture.cpp"
    "${CMAKE_BINARY_DIR}/resources/DevicePictureDoubleSize.cpp"
    "${CMAKE_BINARY_DIR}/resources/AboutPicture.cpp"
    "${CMAKE_BINARY_DIR}/resources/AboutPictureDoubleSize.cpp")

vt5150_embed_file ("${CMAKE_BINARY_DIR}/resources/DevicePicture.cpp"
                   "${CMAKE_SOURCE_DIR}/resources/VT5150.png" devicePicture)
vt5150_embed_file ("${CMAKE_BINARY_DIR}/resources/DevicePictureDoubleSize.cpp"
                   "${CMAKE_SOURCE_DIR}/resources/VT5150@2x.png" devicePictureDoubleSize)
vt5150_embed_file ("${CMAKE_BINARY_DIR}/resources/AboutPicture.cpp"
                   "${CMAKE_SOURCE_DIR}/resources/About.png" aboutPicture)
vt5150_embed_file ("${CMAKE_BINARY_DIR}/resources/AboutPictureDoubleSize.cpp"
                   "${CMAKE_SOURCE_DIR}/resources/About@2x.png" aboutPictureDoubleSize)

# Windows-only sources: the winmm MIDI ports, and the timer that repaints the
# windows under Wine.
if (WIN32)
    list (APPEND VT5150_APP_SOURCES
        app/WineRepaintTimer.cpp)
    list (APPEND VT5150_MIDI_SOURCES
        midi/windows/MidiInputAssembler.cpp
        midi/windows/WindowsMidiInput.cpp
        midi/windows/WindowsMidiOutput.cpp
        midi/windows/WindowsMidiPorts.cpp
        midi/windows/WindowsMidiReceiver.cpp
        midi/windows/WinmmApi.cpp)
endif()

add_library (vt5150_core STATIC
    ${VT5150_APP_SOURCES}
    ${VT5150_DEVICE_SOURCES}
    ${VT5150_MIDI_SOURCES}
    ${VT5150_UI_SOURCES}
    ${VT5150_RESOURCE_SOURCES})

# The generated app/ProductFacts.h (cmake/Product.cmake) is found beside the sources.
target_include_directories (vt5150_core PUBLIC "${CMAKE_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/generated")
target_link_libraries (vt5150_core PUBLIC vt5150_juce PRIVATE vt5150_warnings)

if (WIN32)
    target_link_libraries (vt5150_core PRIVATE winmm)
endif()
