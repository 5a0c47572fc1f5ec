# Sources free of windows.h: they build for Windows and natively on Linux.
set(MIRANDEL_PORTABLE_SOURCES
    framework/cstring.cpp
    sys/slot_path_text.cpp)
