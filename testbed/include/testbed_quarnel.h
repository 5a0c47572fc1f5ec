/* Test-only interface of the stand-in hot-swap driver (service "quarnel").
   Plain C, usable by the driver itself and by Windows test programs. */
#pragma once

#include <stdint.h>

/* The device interface class and the three requests the utility makes are the
   kit's own (GUID_DEVINTERFACE_HOTSWAP and the IOCTL_HOTSWAP_* codes); the codes
   below exist only in the stand-in. All are METHOD_BUFFERED, FILE_ANY_ACCESS,
   device type 0x8321, functions 0xF00 and up. */

/* Output: TESTBED_QUARNEL_STATS. */
#define IOCTL_TESTBED_QUARNEL_GET_STATS 0x83213C00u
/* No buffers. Back to the state after start: counters and records cleared,
   updates accepted, resolve answers normal. */
#define IOCTL_TESTBED_QUARNEL_RESET 0x83213C04u
/* Input: uint32_t, non-zero = fail every IOCTL_HOTSWAP_UPDATE_PARAMETERS. */
#define IOCTL_TESTBED_QUARNEL_SET_REFUSE_UPDATES 0x83213C08u
/* Input: uint32_t, one of TESTBED_QUARNEL_ANSWER_*; shapes every later answer
   to IOCTL_HOTSWAP_RESOLVE_SLOT_PATH that finds its bus. */
#define IOCTL_TESTBED_QUARNEL_SET_RESOLVE_ANSWER 0x83213C0Cu

/* Header, then L"Bus b, device d, function f" and its terminator. */
#define TESTBED_QUARNEL_ANSWER_NORMAL 0u
/* Only the first 7 header bytes (bus, device and function included). */
#define TESTBED_QUARNEL_ANSWER_SHORT 1u
/* Header and the description without its terminator. */
#define TESTBED_QUARNEL_ANSWER_UNTERMINATED 2u
/* Every offered byte: header, then 'x' characters up to the end of the
   output buffer, no terminator (with 541 bytes offered: 256 characters and
   one odd byte 'x'). */
#define TESTBED_QUARNEL_ANSWER_FILL 3u
/* Header, then TESTBED_QUARNEL_KANA_COUNT times U+30A2 (KATAKANA LETTER A,
   two bytes in code page 932) and a terminator. */
#define TESTBED_QUARNEL_ANSWER_KANA 5u
#define TESTBED_QUARNEL_KANA_COUNT 40u

/* Registry layout under HKLM\System\CurrentControlSet\Services\quarnel.
   The chassis: one REG_SZ value per bus under Testbed\Buses, named by the
   decimal bus number, holding the bus's path bytes as hexadecimal digit pairs
   (empty text = no path bytes, at most 255 bytes). Read afresh on every
   request, so a change takes effect at once. */
#define TESTBED_QUARNEL_BUSES_KEY "System\\CurrentControlSet\\Services\\quarnel\\Testbed\\Buses"
#define TESTBED_QUARNEL_TESTBED_KEY "System\\CurrentControlSet\\Services\\quarnel\\Testbed"
/* REG_DWORD under Testbed, read when the driver stops: non-zero leaves the
   device interface listed as present although its device is gone, so that
   opening it fails (INVALID_HANDLE_VALUE). The next start publishes it
   afresh. */
#define TESTBED_QUARNEL_KEEP_INTERFACE_VALUE "KeepInterfaceOnStop"

#define TESTBED_QUARNEL_MAX_PATH_BYTES 255u
#define TESTBED_QUARNEL_RECORDED_INPUT 256u

typedef struct TESTBED_QUARNEL_STATS {
    /* Requests received since start or the last reset, refused ones included. */
    uint32_t ResolveCount;
    uint32_t GetBusPathCount;
    uint32_t UpdateCount;
    uint32_t RefuseUpdates;
    uint32_t ResolveAnswer;
    /* The last IOCTL_HOTSWAP_RESOLVE_SLOT_PATH: input size, output size
       offered, and the first TESTBED_QUARNEL_RECORDED_INPUT input bytes. */
    uint32_t LastResolveInputLength;
    uint32_t LastResolveOutputLength;
    /* The last IOCTL_HOTSWAP_GET_BUS_PATH: sizes and the bus asked for
       (0xFFFFFFFF when the input was shorter than 4 bytes). */
    uint32_t LastBusPathInputLength;
    uint32_t LastBusPathOutputLength;
    uint32_t LastBusNumber;
    /* What the last IOCTL_HOTSWAP_UPDATE_PARAMETERS found in the Parameters
       key: the number of values, and StallInterval (0xFFFFFFFF if absent). */
    uint32_t ParameterValueCount;
    uint32_t StallInterval;
    uint8_t LastResolveInput[TESTBED_QUARNEL_RECORDED_INPUT];
} TESTBED_QUARNEL_STATS;
