#!/bin/sh
# Builds the Debian package from a build folder into a temporary folder, checks what it holds
# (dpkg-deb -c) and its version, and runs lintian on it, which must report no error.
# Usage: check_package.sh BUILD_DIR VERSION
set -eu
build="$1"
version="$2"
work=$(mktemp -d "${TMPDIR:-/tmp}/velorin-package-XXXXXX")
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || {
    cat "$work/cpack.log"
    exit 1
}
deb=$(ls "$work"/*.deb)
status=0

[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || {
    echo "package version is $(dpkg-deb -f "$deb" Version), not $version"
    status=1
}

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/contents"
for path in \
    /usr/bin/QVVelorinCtrlGui /usr/bin/velorinctl /usr/bin/velorin-boardsim /usr/bin/velorin-scpid \
    /lib/systemd/system/velorin-scpid@.service /usr/share/man/man1/velorin-scpid.1.gz \
    /usr/share/doc/velorin/examples/scpid-instance.conf \
    /usr/include/velorin.h \
    /usr/share/applications/velorin-ctrlgui.desktop \
    /usr/share/icons/hicolor/48x48/apps/velorin-ctrlgui.png \
    /usr/share/mime/packages/velorin-ctrlgui.xml \
    /usr/share/velorin/Driver/QvVelorin.rules /usr/share/velorin/Driver/BootPrep.rules \
    /lib/udev/rules.d/QvVelorin.rules /lib/udev/rules.d/BootPrep.rules \
    /etc/velorin/usb-ids \
    /usr/share/man/man1/velorinctl.1.gz /usr/share/man/man1/velorin-boardsim.1.gz \
    /usr/share/man/man1/QVVelorinCtrlGui.1.gz \
    /usr/share/doc/velorin/copyright /usr/share/doc/velorin/changelog.gz; do
    grep -qx "$path" "$work/contents" || { echo "missing from the package: $path"; status=1; }
done
grep -q '^/usr/lib/.*libQVVelorin\.so\.1$' "$work/contents" ||
    { echo "missing from the package: libQVVelorin.so.1"; status=1; }

# The desktop entry starts the program where its Driver folder is, with an icon it ships.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/velorin-ctrlgui.desktop \
    >"$work/desktop"
grep -qx 'Path=/usr/share/velorin' "$work/desktop" || { echo "desktop entry: no Path"; status=1; }
grep -qx 'Icon=velorin-ctrlgui' "$work/desktop" || { echo "desktop entry: no Icon"; status=1; }

# The SCPI server's unit is shipped, not enabled.
if dpkg-deb -e "$deb" "$work/control" && grep -qs 'velorin-scpid' "$work/control/postinst"; then
    echo "postinst touches velorin-scpid"; status=1
fi

lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || true
cat "$work/lintian"
if grep -q '^E:' "$work/lintian"; then
    echo "lintian reports errors"
    status=1
fi
exit $status
