# Sources free of windows.h: they build for Windows and natively on Linux.
set(MIRANDEL_PORTABLE_SOURCES
    framework/cstring.cpp
    framework/number_text.cpp
    model/bridge_windows.cpp
    model/device_requirement.cpp
    model/field_numbers.cpp
    model/location_resolver.cpp
    model/miniport_record.cpp
    model/multi_string.cpp
    model/regedit_file.cpp
    model/save_record.cpp
    model/slot_path_text.cpp
    model/slot_record.cpp)
