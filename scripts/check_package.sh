#!/usr/bin/env bash
# Makes the Debian package from a build folder and checks that it holds what a user
# needs: both programs and their helpers, the help page, desktop entry, D-Bus service,
# AppStream metainfo (validated), icon, man pages and bash completion.
set -euo pipefail
build=${1:?usage: check_package.sh BUILD_DIR}
# A package installs under /usr; the prefix changes no compiled file.
cmake -DCMAKE_INSTALL_PREFIX=/usr "$build" >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/lumara_*.deb | head -n 1)
listing=$(dpkg-deb -c "$deb")
missing=0
for path in ./usr/bin/lumara ./usr/bin/lumara-cli ./usr/libexec/lumara/lumara-cli-all \
    ./usr/libexec/lumara/lumara-table-helper \
    ./usr/share/lumara/Lumarahelp.htm ./usr/share/applications/lumara.desktop \
    ./usr/share/dbus-1/services/org.lumara.Lumara.FileManager1.service \
    ./usr/share/metainfo/org.lumara.Lumara.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/lumara.svg \
    ./usr/share/man/man1/lumara.1 ./usr/share/man/man1/lumara-cli.1 \
    ./usr/share/bash-completion/completions/lumara-cli; do
    if ! grep -q " $path\$" <<<"$listing"; then
        echo "package: $path is missing from $deb" >&2
        missing=1
    fi
done
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
grep -qx 'Exec=/usr/bin/lumara' \
    "$unpacked/usr/share/dbus-1/services/org.lumara.Lumara.FileManager1.service" ||
    { echo "package: the D-Bus service does not start /usr/bin/lumara" >&2; missing=1; }
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/org.lumara.Lumara.metainfo.xml" \
    >/dev/null || { echo "package: the metainfo does not validate" >&2; missing=1; }
[ "$missing" -eq 0 ] && echo "package: $(basename "$deb") holds all $(grep -c . <<<"$listing") entries it should"
exit "$missing"
