# The device protocol's sources, built into the program and into the web page
# alike: the commands, the device link, the firmware image and its built-in
# data, the reply store and its lock. The transfer thread is the program's
# alone; the web page awaits the transfer instead.

set (VT5150_PROTOCOL_SOURCES
    device/DeviceCommands.cpp
    device/DeviceLink.cpp
    device/FirmwareImage.cpp
    device/ReplyStore.cpp
    device/WakeableLock.cpp
    "${CMAKE_BINARY_DIR}/resources/FirmwareImageData.cpp")

vt5150_embed_file ("${CMAKE_BINARY_DIR}/resources/FirmwareImageData.cpp"
                   "${CMAKE_SOURCE_DIR}/resources/firmware.bin" firmwareImage LENGTH_PREFIX)
