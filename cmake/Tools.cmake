# Headless tools that run the updater's own code against the simulated device.

add_executable (vt5150-flashsim tools/FlashSim.cpp)
target_link_libraries (vt5150-flashsim PRIVATE vt5150_sim vt5150_warnings)

