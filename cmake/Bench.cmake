# Benchmarks, run by hand: <build>/bin/vt5150-transfer-bench

add_executable (vt5150-transfer-bench bench/TransferBench.cpp bench/BareSender.cpp bench/CallbackTimedPorts.cpp
                                     bench/TransferMessages.cpp bench/BenchOptions.cpp)
target_link_libraries (vt5150-transfer-bench PRIVATE vt5150_tools vt5150_warnings)
