/* Stand-in system board service. It does no board work: it reads its
 * parameters when it starts, records the start for tests, and answers the
 * service control manager's stop request. */
#include <windows.h>

#include "testbed_moravik.h"

static const char* const kParameterNames[] = {"Mode", "SpyPollTimeout", "Timeout", "TimeoutAction"};

static SERVICE_STATUS_HANDLE g_statusHandle;
static SERVICE_STATUS g_status;
static HANDLE g_stopEvent;

static void Report(DWORD state, DWORD waitHint) {
    g_status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    g_status.dwCurrentState = state;
    g_status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
    g_status.dwWin32ExitCode = NO_ERROR;
    g_status.dwWaitHint = waitHint;
    if (state == SERVICE_RUNNING || state == SERVICE_STOPPED)
        g_status.dwCheckPoint = 0;
    else
        ++g_status.dwCheckPoint;
    SetServiceStatus(g_statusHandle, &g_status);
}

static void AddToCount(HKEY record, const char* name) {
    DWORD count = 0;
    DWORD size = sizeof(count);
    DWORD type = 0;
    if (RegQueryValueExA(record, name, NULL, &type, (BYTE*)&count, &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(count))
        count = 0;
    ++count;
    RegSetValueExA(record, name, 0, REG_DWORD, (const BYTE*)&count, sizeof(count));
}

static HKEY OpenRecord(void) {
    HKEY record = NULL;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, TESTBED_MORAVIK_RECORD_KEY, 0, NULL, 0, KEY_ALL_ACCESS,
                        NULL, &record, NULL) != ERROR_SUCCESS)
        return NULL;
    return record;
}

/* Copies the parameters as read now into the record and counts the start. */
static void RecordStart(void) {
    HKEY parameters = NULL;
    HKEY record = OpenRecord();
    size_t i;
    if (!record)
        return;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TESTBED_MORAVIK_PARAMETERS_KEY, 0, KEY_READ,
                      &parameters) != ERROR_SUCCESS)
        parameters = NULL;
    for (i = 0; i < sizeof(kParameterNames) / sizeof(kParameterNames[0]); ++i) {
        DWORD value = 0;
        DWORD size = sizeof(value);
        DWORD type = 0;
        if (parameters &&
            RegQueryValueExA(parameters, kParameterNames[i], NULL, &type, (BYTE*)&value, &size) ==
                ERROR_SUCCESS &&
            type == REG_DWORD && size == sizeof(value))
            RegSetValueExA(record, kParameterNames[i], 0, REG_DWORD, (const BYTE*)&value,
                           sizeof(value));
        else
            RegDeleteValueA(record, kParameterNames[i]);
    }
    if (parameters)
        RegCloseKey(parameters);
    AddToCount(record, TESTBED_MORAVIK_START_COUNT);
    RegCloseKey(record);
}

/* How long a stop stays pending, as the record key gives it (0 without). */
static DWORD ReadStopDelay(void) {
    DWORD delay = 0;
    DWORD size = sizeof(delay);
    DWORD type = 0;
    HKEY record = OpenRecord();
    if (!record)
        return 0;
    if (RegQueryValueExA(record, TESTBED_MORAVIK_STOP_DELAY, NULL, &type, (BYTE*)&delay, &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(delay))
        delay = 0;
    RegCloseKey(record);
    return delay;
}

static void RecordStop(void) {
    HKEY record = OpenRecord();
    if (!record)
        return;
    AddToCount(record, TESTBED_MORAVIK_STOP_COUNT);
    RegCloseKey(record);
}

static DWORD WINAPI ControlHandler(DWORD control, DWORD eventType, void* eventData, void* context) {
    (void)eventType;
    (void)eventData;
    (void)context;
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
        Report(SERVICE_STOP_PENDING, 2000);
        SetEvent(g_stopEvent);
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

static void WINAPI ServiceMain(DWORD argc, char** argv) {
    (void)argc;
    (void)argv;
    g_statusHandle = RegisterServiceCtrlHandlerExA(TESTBED_MORAVIK_SERVICE, ControlHandler, NULL);
    if (!g_statusHandle)
        return;
    Report(SERVICE_START_PENDING, 2000);
    g_stopEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    if (!g_stopEvent) {
        g_status.dwWin32ExitCode = GetLastError();
        g_status.dwCurrentState = SERVICE_STOPPED;
        SetServiceStatus(g_statusHandle, &g_status);
        return;
    }
    RecordStart();
    Report(SERVICE_RUNNING, 0);

    WaitForSingleObject(g_stopEvent, INFINITE);
    for (DWORD left = ReadStopDelay(); left > 0;) {
        DWORD step = left < 250 ? left : 250;
        Sleep(step);
        left -= step;
        Report(SERVICE_STOP_PENDING, left + 250);
    }
    RecordStop();
    CloseHandle(g_stopEvent);
    Report(SERVICE_STOPPED, 0);
}

int main(void) {
    SERVICE_TABLE_ENTRYA table[] = {{(char*)TESTBED_MORAVIK_SERVICE, ServiceMain}, {NULL, NULL}};
    return StartServiceCtrlDispatcherA(table) ? 0 : (int)GetLastError();
}
