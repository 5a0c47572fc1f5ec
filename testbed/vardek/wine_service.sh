# Shell functions for installing services into a Wine prefix with Wine's own
# sc.exe and reg.exe. Sourced by testbed/vardek/install.sh and
# testbed/moravik/install.sh; needs WINEPREFIX.

WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-wineserver}
export WINELOADER=$WINE64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

die() {
    echo "$(basename "$0"): $*" >&2
    exit 1
}

require_prefix() {
    [ -n "${WINEPREFIX:-}" ] || die "WINEPREFIX is not set"
    [ -f "$WINEPREFIX/system.reg" ] || die "$WINEPREFIX is not an initialised Wine prefix"
    export WINEPREFIX
}

# Services live only as long as the Wine session, so stopping a service and
# checking it in later commands needs one session across them. Start a
# server that lingers a few seconds unless one runs already; end_session
# waits for the one we started to go away again.
started_server=0
begin_session() {
    if "$WINESERVER" -p3 2>/dev/null; then
        started_server=1
    fi
    # The session's first process starts the service manager, which would
    # otherwise inherit (and hold open) the pipe of the first wine_quiet.
    "$WINE64" cmd.exe /c ver >/dev/null 2>&1 </dev/null
}

end_session() {
    if [ "$started_server" = 1 ]; then
        "$WINESERVER" -w
    fi
}

# Runs a Wine program; its output without carriage returns, its status.
wine_quiet() {
    local status=0
    "$WINE64" "$@" </dev/null 2>/dev/null | tr -d '\r' || status=$?
    return "$status"
}

# Prints the service's state number (1 stopped ... 4 running); fails when
# the service does not exist.
service_state() {
    local out
    out=$(wine_quiet sc.exe query "$1") || return 1
    awk '/STATE/ { print $3; exit }' <<<"$out"
}

service_exists() {
    service_state "$1" >/dev/null
}

# Waits up to ten seconds for a state; fails on time-out.
wait_state() {
    local name=$1 want=$2 i
    for i in $(seq 1 50); do
        [ "$(service_state "$name")" = "$want" ] && return 0
        sleep 0.2
    done
    return 1
}

service_stop() {
    service_exists "$1" || return 0
    [ "$(service_state "$1")" = 1 ] && return 0
    wine_quiet sc.exe stop "$1" >/dev/null || true
    wait_state "$1" 1 || die "service $1 did not stop"
}

service_start() {
    wine_quiet sc.exe start "$1" >/dev/null || true
    wait_state "$1" 4 || die "service $1 did not start"
}

# Deleting a service removes its whole registry key; keep what was already
# in its Parameters key (another installer may have put parameters there).
saved_parameters=
save_parameters() {
    saved_parameters=$(mktemp)
    if ! wine_quiet reg.exe export "HKLM\\System\\CurrentControlSet\\Services\\$1\\Parameters" \
        "$(winepath_of "$saved_parameters")" /y >/dev/null; then
        rm -f "$saved_parameters"
        saved_parameters=
    fi
}

restore_parameters() {
    if [ -n "$saved_parameters" ]; then
        wine_quiet reg.exe import "$(winepath_of "$saved_parameters")" >/dev/null ||
            die "cannot restore the parameters of $1"
        rm -f "$saved_parameters"
        saved_parameters=
    fi
}

# Unix path to a Windows path through Wine's Z: drive.
winepath_of() {
    echo "Z:${1//\//\\}"
}

service_delete() {
    service_stop "$1"
    service_exists "$1" || return 0
    wine_quiet sc.exe delete "$1" >/dev/null || true
    local i
    for i in $(seq 1 50); do
        service_exists "$1" || return 0
        sleep 0.2
    done
    die "service $1 was not deleted"
}

# service_create NAME TYPE START IMAGEPATH DISPLAYNAME: (re)creates the
# service with this configuration, keeping its parameters.
service_create() {
    save_parameters "$1"
    service_delete "$1"
    wine_quiet sc.exe create "$1" type= "$2" start= "$3" binpath= "$4" displayname= "$5" \
        >/dev/null || die "cannot create service $1"
    restore_parameters "$1"
}
