# vt5150_sim: in-process virtual MIDI ports and the simulated VT-5150 that the
# tests, the tools, the benchmark and the demo plug into the device link.

add_library (vt5150_sim STATIC
    sim/DeviceMemory.cpp
    sim/SimulatedDevice.cpp
    sim/SimulatedSetup.cpp
    sim/SimulationOptions.cpp
    sim/VirtualMidiPorts.cpp
    sim/WireTrace.cpp)

target_link_libraries (vt5150_sim PUBLIC vt5150_core PRIVATE vt5150_warnings)
