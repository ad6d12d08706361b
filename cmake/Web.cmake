# The updater as a web page (with Emscripten: emcmake cmake): device/ compiled
# to WebAssembly against the small stand-ins for JUCE in web/juce/, the page's
# own files, the pictures and the texts, all into one folder, site/, that any
# static web server can serve.

set (VT5150_SITE "${CMAKE_BINARY_DIR}/site")

include (DeviceProtocol)

add_executable (vt5150-web
    ${VT5150_PROTOCOL_SOURCES}
    ui/PageTexts.cpp
    web/WebEntryPoints.cpp
    web/WebMidiInput.cpp
    web/WebMidiOutput.cpp
    web/WebMidiPorts.cpp
    web/WebMidiWait.cpp)

target_include_directories (vt5150-web PRIVATE
    "${CMAKE_SOURCE_DIR}/web/juce" "${CMAKE_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/generated")
target_link_libraries (vt5150-web PRIVATE vt5150_warnings)
target_compile_options (vt5150-web PRIVATE -Oz)

# Asyncify lets the device link's blocking reply wait become a wait for the
# browser's MIDI on the page's one thread. No eval, no file system, and a
# factory function instead of a global module, called by the page.
target_link_options (vt5150-web PRIVATE
    -Oz -sASYNCIFY -sMODULARIZE -sEXPORT_NAME=createUpdaterModule -sENVIRONMENT=web,node
    -sDYNAMIC_EXECUTION=0 -sFILESYSTEM=0 -sALLOW_MEMORY_GROWTH
    -sEXPORTED_RUNTIME_METHODS=ccall,UTF8ToString -sEXPORTED_FUNCTIONS=_malloc,_free)

set_target_properties (vt5150-web PROPERTIES
    OUTPUT_NAME updater
    RUNTIME_OUTPUT_DIRECTORY "${VT5150_SITE}")

# The page's own files and the pictures, copied beside the compiled code.
file (GLOB VT5150_WEB_PAGE_FILES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/web/site/*")
file (GLOB VT5150_WEB_PICTURES "${CMAKE_SOURCE_DIR}/resources/*.png")

# The texts of the boxes and of the about box, read from the desktop
# program's sources, where each is written once.
add_custom_command (
    OUTPUT "${VT5150_SITE}/texts.js"
    COMMAND "${VT5150_PYTHON3}" "${CMAKE_SOURCE_DIR}/web/texts_from_sources.py" "${CMAKE_SOURCE_DIR}"
            "${CMAKE_BINARY_DIR}/generated/app/ProductFacts.h" "${VT5150_SITE}/texts.js"
    DEPENDS "${CMAKE_SOURCE_DIR}/web/texts_from_sources.py" "${CMAKE_SOURCE_DIR}/ui/UpdaterWindow.cpp"
            "${CMAKE_SOURCE_DIR}/ui/AboutBox.cpp" "${CMAKE_SOURCE_DIR}/ui/ErrorBox.cpp"
            "${CMAKE_SOURCE_DIR}/ui/BackgroundPicture.cpp" "${CMAKE_BINARY_DIR}/generated/app/ProductFacts.h"
    COMMENT "Taking the page's texts from the program's sources"
    VERBATIM)

add_custom_target (vt5150-site ALL
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${VT5150_SITE}"
    COMMAND "${CMAKE_COMMAND}" -E copy_if_different ${VT5150_WEB_PAGE_FILES} ${VT5150_WEB_PICTURES} "${VT5150_SITE}"
    COMMAND "${CMAKE_COMMAND}" -E copy_if_different "${CMAKE_SOURCE_DIR}/packaging/icons/icon-32.png"
            "${VT5150_SITE}/icon.png"
    DEPENDS vt5150-web "${VT5150_SITE}/texts.js"
    COMMENT "Gathering the page into ${VT5150_SITE}"
    VERBATIM)
