# JUCE 7.0.5 from Debian's juce-modules-source, compiled once into one static
# library that re-exports the modules' include paths and definitions to every
# target that links it.

find_package (JUCE CONFIG REQUIRED)
find_package (PkgConfig REQUIRED)
find_package (ZLIB REQUIRED)
pkg_check_modules (VT5150_IMAGE_LIBS REQUIRED IMPORTED_TARGET libpng libjpeg)

set (VT5150_JUCE_MODULES
     juce_core
     juce_events
     juce_data_structures
     juce_graphics
     juce_gui_basics
     juce_audio_basics
     juce_audio_devices)

add_library (vt5150_juce STATIC)

foreach (module IN LISTS VT5150_JUCE_MODULES)
    target_link_libraries (vt5150_juce PRIVATE juce::${module})
    target_include_directories (vt5150_juce PUBLIC
        $<TARGET_PROPERTY:juce::${module},INTERFACE_INCLUDE_DIRECTORIES>)
    target_compile_definitions (vt5150_juce PUBLIC
        $<TARGET_PROPERTY:juce::${module},INTERFACE_COMPILE_DEFINITIONS>)
endforeach()

target_compile_definitions (vt5150_juce PUBLIC
    JUCE_WEB_BROWSER=0
    JUCE_USE_CURL=0
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_MODAL_LOOPS_PERMITTED=1
    JUCE_STANDALONE_APPLICATION=1)

# Debian's JUCE leaves out its bundled image and compression libraries: link the system's.
target_link_libraries (vt5150_juce PUBLIC PkgConfig::VT5150_IMAGE_LIBS ZLIB::ZLIB)
