# Benchmarks: <build>/bin/vt5150-transfer-bench, run by hand, and on Windows
# vt5150-windows-transfer-bench.exe, which scripts/test-windows runs under Wine
# (bench/windows/wine_transfer_bench.sh) and whose figures it prints.

add_executable (vt5150-transfer-bench bench/TransferBench.cpp bench/BareSender.cpp bench/CallbackTimedPorts.cpp
                                     bench/TransferMessages.cpp bench/BenchOptions.cpp)
target_link_libraries (vt5150-transfer-bench PRIVATE vt5150_tools vt5150_warnings)

if (WIN32)
    add_executable (vt5150-windows-transfer-bench EXCLUDE_FROM_ALL bench/windows/WineTransferBench.cpp
                    bench/windows/BareWinmmClient.cpp bench/BenchOptions.cpp bench/TransferMessages.cpp)
    target_link_libraries (vt5150-windows-transfer-bench PRIVATE vt5150_tools winmm vt5150_warnings)
    target_link_options (vt5150-windows-transfer-bench PRIVATE -static)
endif()
