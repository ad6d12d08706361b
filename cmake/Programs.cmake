# The two programs: the updater itself on system MIDI, and its demo, which
# runs the same application against a simulated VT-5150 on virtual ports.

add_executable (vt5150-updater app/Main.cpp)
target_link_libraries (vt5150-updater PRIVATE vt5150_core vt5150_warnings)

add_executable (vt5150-updater-demo demo/DemoMain.cpp)
target_link_libraries (vt5150-updater-demo PRIVATE vt5150_sim vt5150_warnings)
