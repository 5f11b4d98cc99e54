#!/bin/sh
# velorin-scpid --mdns announces _scpi-raw._tcp and avahi-browse finds it. Everything runs in a
# network namespace made here (a dummy or veth interface with multicast and a private address, so no
# packet reaches the machine's own networks) with its own D-Bus and Avahi daemons.
# Usage: mdns_test.sh BIN_DIR. Exit 77 (skipped) when that cannot be set up.
set -u
[ -n "${VELORIN_MDNS_TRACE:-}" ] && set -x
bin="$1"

skip() { echo "SKIPPED: $*"; exit 77; }

if [ -z "${VELORIN_MDNS_INSIDE:-}" ]; then
    [ "$(id -u)" = 0 ] || skip "needs root to make a network namespace"
    for tool in unshare ip dbus-daemon avahi-daemon avahi-browse; do
        command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
    done
    VELORIN_MDNS_INSIDE=1 exec unshare --net --mount --fork sh "$0" "$@"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/velorin-mdns-XXXXXX")
pids=""
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    for pid in $pids; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
trap "exit 1" INT TERM

mount --make-rprivate / 2>/dev/null || skip "cannot make the mount namespace private"
ip link set lo up || skip "cannot bring up loopback in the namespace"
# A dummy interface, or where the kernel has none a veth pair whose both ends stay here.
if ! ip link add mdns0 type dummy 2>/dev/null; then
    ip link add mdns0 type veth peer name mdns1 2>/dev/null ||
        skip "neither dummy nor veth interfaces can be made here"
    ip link set mdns1 up
fi
ip link set mdns0 multicast on up
ip addr add 10.254.18.1/24 dev mdns0
# The daemons' sockets and pid files in folders of this namespace only.
for dir in /run/dbus /run/avahi-daemon; do
    mkdir -p "$dir" && mount -t tmpfs tmpfs "$dir" || skip "cannot mount a private $dir"
done
dbus-daemon --system --fork --nopidfile --print-pid >"$work/dbus.pid" 2>"$work/dbus.log" ||
    skip "the system D-Bus cannot be started here: $(cat "$work/dbus.log")"
pids="$pids $(cat "$work/dbus.pid")"
avahi-daemon --no-drop-root --no-chroot --no-rlimits --no-proc-title >"$work/avahi.log" 2>&1 &
pids="$pids $!"
i=0
until avahi-browse -at >/dev/null 2>&1; do
    i=$((i + 1))
    [ $i -lt 50 ] || skip "avahi-daemon did not start: $(cat "$work/avahi.log")"
    sleep 0.1
done

"$bin/velorin-boardsim" --device-dir "$work/dev" >"$work/sim.log" 2>&1 &
pids="$pids $!"
i=0
until [ -S "$work/dev/board0" ] || [ $i -ge 50 ]; do i=$((i + 1)); sleep 0.1; done
"$bin/velorin-scpid" --listen 10.254.18.1:0 --device-dir "$work/dev" --mdns \
    --name "Velorin-mDNS-test" >"$work/scpid.log" 2>&1 &
pids="$pids $!"

i=0
while [ $i -lt 50 ]; do
    port=$(sed -n 's/.*listening on 10\.254\.18\.1:\([0-9]*\).*/\1/p' "$work/scpid.log")
    if [ -n "$port" ] && avahi-browse -rtp _scpi-raw._tcp 2>/dev/null >"$work/browse" &&
        grep -q "^=;.*;Velorin-mDNS-test;_scpi-raw._tcp;.*;$port;" "$work/browse"; then
        echo "found: $(grep '^=' "$work/browse" | head -1)"
        exit 0
    fi
    i=$((i + 1))
    sleep 0.2
done
echo "not announced"
cat "$work/scpid.log" "$work/avahi.log" "$work/browse" 2>/dev/null
exit 1
