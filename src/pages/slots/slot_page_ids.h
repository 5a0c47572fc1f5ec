#pragma once
// Control ids of the Physical slot numbering page (dialog 102) and the
// Bridge Resource Requirements page (dialog 104). The location entry
// controls and the list carry the same ids on both.

// Location entry, both pages
#define IDC_BUS 1007
#define IDC_SLOT_LIST 1008
#define IDC_DEVICE 1009
#define IDC_FUNCTION 1010
#define IDC_ADD_UPDATE 1011
#define IDC_ENTRY_SLOT_PATH 1012
#define IDC_ENTRY_BDF 1013
#define IDC_SLOT_PATH 1014
#define IDC_REMOVE 1020

// Physical slot numbering
#define IDC_PHYSICAL_SLOT 1006

// Bridge Resource Requirements
#define IDC_IO_SIZE 1015
#define IDC_MEM_SIZE 1016
#define IDC_IO_FROM 1017
#define IDC_IO_TO 1018
#define IDC_PREF_ALIGN 1022
#define IDC_DYNAMIC_BUS 1023
#define IDC_PREF_SIZE 1024
#define IDC_IO_ALIGN 1041
#define IDC_MEM_ALIGN 1043
#define IDC_NO_RESET 1125
#define IDC_MOVE_DOWN 1226
#define IDC_MOVE_UP 1227
#define IDC_MEM_FROM 3000
#define IDC_MEM_TO 3001
#define IDC_PREF_FROM 3002
#define IDC_PREF_TO 3003
