#!/bin/sh
# Builds the Debian package from a build folder into a temporary folder, checks what it holds
# (dpkg-deb -c) and its version, and runs lintian on it, which must report no error. Then
# configures the sources as they are without the preset (install prefix /usr/local) and checks
# that the package such a build makes would install under /usr and /etc, naming the programs
# there, by running its install script in place of CPack.
# Usage: check_package.sh BUILD_DIR VERSION SOURCE_DIR
set -eu
build="$1"
version="$2"
source="$3"
here="$(cd "$(dirname "$0")" && pwd)"
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

# A build configured without the preset: its package holds the same paths.
plain="$work/plain-build"
cmake -S "$source" -B "$plain" -DVELORIN_BUILD_TESTS=OFF -DVELORIN_BUILD_BENCH=OFF \
    >"$work/plain-configure.log" 2>&1 || { cat "$work/plain-configure.log"; exit 1; }
grep -q 'CPACK_PACKAGING_INSTALL_PREFIX "/usr"' "$plain/CPackConfig.cmake" ||
    { echo "plain build: the package prefix is not /usr"; status=1; }
cmake -DBUILD="$plain" -DMANIFEST="$work/plain-manifest" -DSTAGING="$work/plain-staging" \
    -P "$here/install_manifest.cmake" >"$work/plain-install.log" 2>&1 ||
    { cat "$work/plain-install.log"; exit 1; }
sort -u "$work/plain-manifest" >"$work/plain-contents"
grep -v -e '^/usr/' -e '^/etc/' -e '^/lib/udev/' -e '^/lib/systemd/' "$work/plain-contents" |
    sed 's/^/plain build installs outside \/usr: /' | grep . && status=1
grep '/usr/local' "$work/plain-contents" | sed 's/^/plain build: /' | grep . && status=1
for path in /usr/bin/QVVelorinCtrlGui /usr/bin/velorinctl /usr/bin/velorin-scpid \
    /etc/velorin/usb-ids /lib/udev/rules.d/QvVelorin.rules; do
    grep -qx "$path" "$work/plain-contents" || { echo "plain build: missing $path"; status=1; }
done
staged="$work/plain-staging"
grep -qx 'Path=/usr/share/velorin' "$staged/usr/share/applications/velorin-ctrlgui.desktop" ||
    { echo "plain build: desktop entry not in /usr/share/velorin"; status=1; }
grep -q 'PROGRAM="/usr/bin/velorinctl usb match board' "$staged/lib/udev/rules.d/QvVelorin.rules" ||
    { echo "plain build: udev rules do not run /usr/bin/velorinctl"; status=1; }
grep -q '^ExecStart=/usr/bin/velorin-scpid ' "$staged/lib/systemd/system/velorin-scpid@.service" ||
    { echo "plain build: the unit does not run /usr/bin/velorin-scpid"; status=1; }
grep -q '/usr/local' -r "$staged" && { echo "plain build: a file names /usr/local"; status=1; }
exit $status
