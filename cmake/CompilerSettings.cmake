# Language level, warnings and where every executable lands.

set (CMAKE_CXX_STANDARD 17)
set (CMAKE_CXX_STANDARD_REQUIRED ON)
set (CMAKE_CXX_EXTENSIONS OFF)
set (CMAKE_POSITION_INDEPENDENT_CODE ON)

if (NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
    set (CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

set (CMAKE_RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/bin")

# Paths written into the objects (debug information, __FILE__ in assertions)
# are relative to the checkout, so that no build machine's folder ends up in
# what is shipped, and a clone in any folder compiles to the same objects,
# which lets ccache reuse those of an earlier clone.
add_compile_options ("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>")

option (VT5150_TSAN "Build everything with ThreadSanitizer" OFF)

option (VT5150_ASAN "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if (VT5150_TSAN AND VT5150_ASAN)
    message (FATAL_ERROR "VT5150_TSAN and VT5150_ASAN cannot be combined: use one build folder for each")
endif()

if (VT5150_TSAN)
    add_compile_options (-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options (-fsanitize=thread)
endif()

# Undefined behaviour stops the program like a memory error does, so that
# every report fails the run instead of scrolling past.
if (VT5150_ASAN)
    add_compile_options (-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options (-fsanitize=address,undefined -fno-sanitize-recover=undefined)

    # JUCE opens these X11 libraries with dlopen and closes them at shut-down;
    # what they still hold at exit (about 27 KB in 387 blocks per windowed
    # process) is then reported as leaked from "<unknown module>", which no
    # suppression can name. Linked in, they stay loaded to the end, their
    # memory stays reachable and is not reported; the program's own leaks are.
    add_link_options (-Wl,--no-as-needed -lX11 -lXext -lXcursor -lXinerama -lXrender -lXrandr -Wl,--as-needed)
endif()

# Warnings for the project's own code only; JUCE's sources are compiled with their defaults.
add_library (vt5150_warnings INTERFACE)
target_compile_options (vt5150_warnings INTERFACE -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wno-missing-field-initializers)
