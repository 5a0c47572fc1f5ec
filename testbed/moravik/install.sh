#!/bin/bash
# Installs the stand-in system board service (service moravik, moravik.exe)
# into $WINEPREFIX, from the binaries in $TESTBED_BIN. Safe to run again;
# options the script does not know are ignored (testbed/install passes all
# of its own).
#
#   --without-moravik  no moravik service and no moravik.exe (removed if there)
#   --moravik-stopped  installed with demand start and left stopped
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../vardek/wine_service.sh"

with_service=1
running=1
for arg in "$@"; do
    case $arg in
    --without-moravik) with_service=0 ;;
    --moravik-stopped) running=0 ;;
    esac
done

require_prefix
if [ "$with_service" = 1 ]; then
    [ -n "${TESTBED_BIN:-}" ] || die "TESTBED_BIN is not set"
fi
system32=$WINEPREFIX/drive_c/windows/system32

begin_session
trap end_session EXIT

service_stop moravik
if [ "$with_service" = 0 ]; then
    service_delete moravik
    rm -f "$system32/moravik.exe"
    exit 0
fi

install -m 0755 "$TESTBED_BIN/moravik.exe" "$system32/moravik.exe"
# Auto start: Wine's service manager starts the service whenever a session
# of this prefix begins; demand start keeps it stopped until asked.
if [ "$running" = 1 ]; then
    service_create moravik own auto 'C:\windows\system32\moravik.exe' \
        "Moravik system board service (testbed)"
    service_start moravik
else
    service_create moravik own demand 'C:\windows\system32\moravik.exe' \
        "Moravik system board service (testbed)"
fi
