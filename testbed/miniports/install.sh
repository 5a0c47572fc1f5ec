#!/bin/bash
# Puts the sample miniport drivers into $WINEPREFIX under
# C:\testbed\miniports, from the binaries in $TESTBED_BIN, where the
# utility's Browse can find them. They are not installed as services: that is
# the utility's job. Safe to run again; options the script does not know are
# ignored (testbed/install passes all of its own).
#
#   --without-miniports  no sample files (removed if there)
set -euo pipefail

with_samples=1
for arg in "$@"; do
    case $arg in
    --without-miniports) with_samples=0 ;;
    esac
done

[ -n "${WINEPREFIX:-}" ] || { echo "$(basename "$0"): WINEPREFIX is not set" >&2; exit 1; }
samples=$WINEPREFIX/drive_c/testbed/miniports

if [ "$with_samples" = 1 ]; then
    [ -n "${TESTBED_BIN:-}" ] || { echo "$(basename "$0"): TESTBED_BIN is not set" >&2; exit 1; }
    mkdir -p "$samples"
    for f in csrmini1.sys csrmini2.sys; do
        install -m 0644 "$TESTBED_BIN/$f" "$samples/$f"
    done
else
    rm -rf "$samples"
fi
