#!/bin/bash
# Installs the stand-in hot-swap controller driver (service Vardek,
# vardek.sys) and its controller library (vardekapi.dll) into $WINEPREFIX,
# from the binaries in $TESTBED_BIN. Safe to run again; options the script
# does not know are ignored (testbed/install passes all of its own).
#
#   --without-vardek     no Vardek service and no vardek.sys (removed if there)
#   --without-vardekapi  no vardekapi.dll (removed if there)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_service.sh"

with_driver=1
with_library=1
for arg in "$@"; do
    case $arg in
    --without-vardek) with_driver=0 ;;
    --without-vardekapi) with_library=0 ;;
    esac
done

require_prefix
if [ "$with_driver$with_library" != 00 ]; then
    [ -n "${TESTBED_BIN:-}" ] || die "TESTBED_BIN is not set"
fi
system32=$WINEPREFIX/drive_c/windows/system32

begin_session
trap end_session EXIT

service_stop Vardek
if [ "$with_driver" = 1 ]; then
    install -m 0644 "$TESTBED_BIN/vardek.sys" "$system32/drivers/vardek.sys"
    # Auto start: Wine's service manager loads the driver whenever a session
    # of this prefix begins. Wine needs the absolute image path for drivers.
    service_create Vardek kernel auto 'C:\windows\system32\drivers\vardek.sys' \
        "Vardek hot-swap controller (testbed)"
    service_start Vardek
else
    service_delete Vardek
    rm -f "$system32/drivers/vardek.sys"
fi

if [ "$with_library" = 1 ]; then
    install -m 0644 "$TESTBED_BIN/vardekapi.dll" "$system32/vardekapi.dll"
else
    rm -f "$system32/vardekapi.dll"
fi
