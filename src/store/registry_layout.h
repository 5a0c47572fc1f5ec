#pragma once
// Where the kit's parameters live, below HKEY_LOCAL_MACHINE, in the order the
// keys are opened.

enum ParameterKey {
    KEY_QUARNEL = 0,        // main hot-swap driver: scalars and "Miniports"
    KEY_RESTRICT_MINIPORTS, // one value per restricted miniport
    KEY_RESOURCE_ASSIGNMENTS,
    KEY_PHYSICAL_SLOTS,
    KEY_EXPLICIT_REQUIREMENTS,
    KEY_NO_RESET_SECONDARY_BUS,
    KEY_VARDEK, // hot-swap controller driver
    KEY_MORAVIK // system board service
};

extern const char* const kParameterKeyPaths[8];

// The list keys, in the order a save deletes them.
extern const char* const kListKeyPaths[5];
