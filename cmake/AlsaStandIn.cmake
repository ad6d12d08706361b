# A stand-in for the ALSA sequencer, preloaded (LD_PRELOAD) into the real
# updater by the tests so that JUCE's own Linux MIDI code runs over it, and
# the program that hosts a simulated VT-5150 behind one of its ports. Test
# equipment only: nothing links the library, and nothing of it is installed.
pkg_check_modules (VT5150_ALSA REQUIRED IMPORTED_TARGET alsa)
find_package (Threads REQUIRED)

add_library (vt5150_alsa_seq_standin SHARED
    alsa-standin/KernelClients.cpp
    alsa-standin/ClientQueue.cpp
    alsa-standin/ClientTable.cpp
    alsa-standin/EventDecoder.cpp
    alsa-standin/PortDriver.cpp
    alsa-standin/PortDescription.cpp
    alsa-standin/Sequencer.cpp
    alsa-standin/SequencerFunctions.cpp
    alsa-standin/SequencerInstance.cpp
    alsa-standin/SequencerQueries.cpp
    alsa-standin/SequencerTrace.cpp)

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

add_executable (vt5150-seq-device alsa-standin/DeviceHost.cpp alsa-standin/DeviceConnection.cpp)
target_link_libraries (vt5150-seq-device PRIVATE vt5150_sim vt5150_warnings)
