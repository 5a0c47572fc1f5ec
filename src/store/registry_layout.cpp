#include "store/registry_layout.h"

const char* const kParameterKeyPaths[8] = {
    "System\\CurrentControlSet\\Services\\quarnel\\Parameters",
    "System\\CurrentControlSet\\Services\\quarnel\\Parameters\\RestrictMiniports",
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\ResourceAssignments",
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\PhysicalSlots",
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\ExplicitResourceRequirements",
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\NoResetSecondaryBus",
    "System\\CurrentControlSet\\Services\\Vardek\\Parameters",
    "System\\CurrentControlSet\\Services\\Moravik\\Parameters",
};

const char* const kListKeyPaths[5] = {
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\PhysicalSlots",
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\ResourceAssignments",
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\NoResetSecondaryBus",
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\ExplicitResourceRequirements",
    "System\\CurrentControlSet\\Services\\Quarnel\\Parameters\\RestrictMiniports",
};
