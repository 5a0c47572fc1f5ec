# Sources free of windows.h: they build for Windows and natively on Linux.
set(MIRANDEL_PORTABLE_SOURCES
    framework/cstring.cpp
    framework/multi_string.cpp
    framework/scan_number.cpp
    model/regedit_file.cpp
    pages/slots/slot_record.cpp
    pages/bridges/bridge_windows.cpp
    pages/miniports/miniport_record.cpp
    sys/slot_path_text.cpp
    pages/devres/device_requirement.cpp
    pages/devres/hex_field.cpp)
