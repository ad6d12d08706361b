# vt5150_sim: in-process virtual MIDI ports and the simulated VT-5150 that the
# tests, the tools, the benchmark and the demo plug into the device link.

add_library (vt5150_sim STATIC
    sim/CpuTime.cpp
    sim/DeviceMemory.cpp
    sim/PayloadFile.cpp
    sim/SimulatedDevice.cpp
    sim/SimulatedSetup.cpp
    sim/SimulationOptions.cpp
    sim/ToolOptions.cpp
    sim/VirtualMidiPorts.cpp
    sim/WireTrace.cpp)

target_link_libraries (vt5150_sim PUBLIC vt5150_core PRIVATE vt5150_warnings)

# The Linux MIDI test equipment below runs on the build machine, not in the Windows build.
if (WIN32)
    return()
endif()

# A stand-in for the ALSA sequencer, preloaded (LD_PRELOAD) into the real
# updater by the tests so that JUCE's own Linux MIDI code runs over it, and
# the program that hosts a simulated VT-5150 behind one of its ports. Test
# equipment only: nothing links the library, and nothing of it is installed.
pkg_check_modules (VT5150_ALSA REQUIRED IMPORTED_TARGET alsa)
find_package (Threads REQUIRED)

add_library (vt5150_alsa_seq_standin SHARED
    sim/alsa/KernelClients.cpp
    sim/alsa/ClientQueue.cpp
    sim/alsa/ClientTable.cpp
    sim/alsa/EventDecoder.cpp
    sim/alsa/PortDriver.cpp
    sim/alsa/PortDescription.cpp
    sim/alsa/Sequencer.cpp
    sim/alsa/SequencerFunctions.cpp
    sim/alsa/SequencerInstance.cpp
    sim/alsa/SequencerQueries.cpp
    sim/alsa/SequencerTrace.cpp)

target_include_directories (vt5150_alsa_seq_standin PRIVATE "${CMAKE_SOURCE_DIR}")
target_link_libraries (vt5150_alsa_seq_standin PRIVATE PkgConfig::VT5150_ALSA Threads::Threads vt5150_warnings)
set_target_properties (vt5150_alsa_seq_standin PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/lib")

# Preloaded, it also enters every program that the updater's process starts,
# such as the symbolizer that names a sanitizer report's frames, which has no
# sanitizer runtime: so it is built without sanitizers.
if (VT5150_ASAN)
    target_compile_options (vt5150_alsa_seq_standin PRIVATE -fno-sanitize=all)
    target_link_options (vt5150_alsa_seq_standin PRIVATE -fno-sanitize=all)
endif()

add_executable (vt5150-seq-device sim/alsa/DeviceHost.cpp sim/alsa/DeviceConnection.cpp)
target_link_libraries (vt5150-seq-device PRIVATE vt5150_sim vt5150_warnings)
