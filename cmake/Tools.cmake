# Headless tools that run the updater's own code against the simulated device,
# and on Windows a probe of what screen readers are shown.

# vt5150_tools: what the tools and the benchmark share: their options, payload
# files and the process's CPU clock.
add_library (vt5150_tools STATIC
    tools/CpuTime.cpp
    tools/PayloadFile.cpp
    tools/ToolOptions.cpp)

target_link_libraries (vt5150_tools PUBLIC vt5150_sim PRIVATE vt5150_warnings)

add_executable (vt5150-flashsim tools/FlashSim.cpp)
target_link_libraries (vt5150-flashsim PRIVATE vt5150_tools vt5150_warnings)

if (WIN32)
    # vt5150-uia-probe.exe: what UI Automation, which screen readers read
    # through, shows of a window, and whether it can press a button there;
    # built on request (tests/windows/wine_uia_probe.sh runs it under Wine).
    add_executable (vt5150-uia-probe EXCLUDE_FROM_ALL
        tools/uia/GuardedCall.cpp
        tools/uia/UiaCoreClient.cpp
        tools/uia/UiaProbe.cpp
        tools/uia/UiaTreeListing.cpp)

    target_link_libraries (vt5150-uia-probe PRIVATE ole32 oleaut32 shell32 vt5150_warnings)
    target_link_options (vt5150-uia-probe PRIVATE -static $<$<CONFIG:Release>:-s>)
endif()
