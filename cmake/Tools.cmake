# Headless tools that run the updater's own code against the simulated device.

# vt5150_tools: what the tools and the benchmark share: their options, payload
# files and the process's CPU clock.
add_library (vt5150_tools STATIC
    tools/CpuTime.cpp
    tools/PayloadFile.cpp
    tools/ToolOptions.cpp)

target_link_libraries (vt5150_tools PUBLIC vt5150_sim PRIVATE vt5150_warnings)

add_executable (vt5150-flashsim tools/FlashSim.cpp)
target_link_libraries (vt5150-flashsim PRIVATE vt5150_tools vt5150_warnings)
