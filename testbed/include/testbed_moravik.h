/* Stand-in system board service (service "moravik", moravik.exe).
 *
 * The service reads its Parameters key when it starts and records each
 * start under its own record key, so that a test program can see that it
 * was (re)started and with which parameters:
 *
 *   HKLM\Software\Mirandel Testbed\moravik
 *     StartCount      REG_DWORD  starts since the record key was made
 *     StopCount       REG_DWORD  orderly stops (SERVICE_CONTROL_STOP)
 *     StopDelay       REG_DWORD  set by tests: milliseconds a stop stays
 *                                pending before the service stops (0 or
 *                                missing: at once); read at each stop
 *     Mode, SpyPollTimeout, Timeout, TimeoutAction
 *                     REG_DWORD  copies of the values read at the last start;
 *                                a value missing (or not a REG_DWORD) in
 *                                Parameters is missing here too
 *
 * The counts are written before the service reports SERVICE_RUNNING and
 * SERVICE_STOPPED, so they are up to date once the state is seen. */
#pragma once

#define TESTBED_MORAVIK_SERVICE "moravik"
#define TESTBED_MORAVIK_PARAMETERS_KEY "System\\CurrentControlSet\\Services\\Moravik\\Parameters"
#define TESTBED_MORAVIK_RECORD_KEY "Software\\Mirandel Testbed\\moravik"

#define TESTBED_MORAVIK_START_COUNT "StartCount"
#define TESTBED_MORAVIK_STOP_COUNT "StopCount"
#define TESTBED_MORAVIK_STOP_DELAY "StopDelay"
