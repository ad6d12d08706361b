# libFuzzer targets for every parser of bytes from outside, built only with
# -DVT5150_FUZZ=ON and clang (they also need VT5150_ASAN, so that a memory
# error or undefined behaviour found stops the run). tests/fuzz/run_fuzzers.sh
# runs each target named in bin/vt5150-fuzzers.txt, which this file writes
# from its own list, from the target's corpus in tests/fuzz/corpus/<name>/.

option (VT5150_FUZZ "Build the libFuzzer targets (clang only)" OFF)

if (NOT VT5150_FUZZ)
    return()
endif()

if (NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang" OR NOT VT5150_ASAN)
    message (FATAL_ERROR "VT5150_FUZZ needs clang (CXX=clang++-14) and VT5150_ASAN=ON")
endif()

# Coverage for the fuzzer only in the updater's own code; JUCE is not steered.
foreach (library vt5150_core vt5150_sim vt5150_tools)
    target_compile_options (${library} PRIVATE -fsanitize=fuzzer-no-link)
endforeach()

set (VT5150_FUZZERS reply device-decoder options firmware)
set (VT5150_FUZZER_SOURCES
     tests/fuzz/ReplyFuzzer.cpp
     tests/fuzz/DeviceDecoderFuzzer.cpp
     tests/fuzz/OptionsFuzzer.cpp
     tests/fuzz/FirmwareFuzzer.cpp)

list (JOIN VT5150_FUZZERS "\n" fuzzerLines)
file (WRITE "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/vt5150-fuzzers.txt" "${fuzzerLines}\n")

foreach (name source IN ZIP_LISTS VT5150_FUZZERS VT5150_FUZZER_SOURCES)
    add_executable (vt5150-fuzz-${name} ${source})
    target_link_libraries (vt5150-fuzz-${name} PRIVATE vt5150_tools vt5150_warnings)
    target_compile_options (vt5150-fuzz-${name} PRIVATE -fsanitize=fuzzer)
    target_link_options (vt5150-fuzz-${name} PRIVATE -fsanitize=fuzzer)
endforeach()
