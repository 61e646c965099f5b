#!/usr/bin/env bash
# Installs what Lumara needs on Debian 12, builds it, then runs it ("run") or its
# test suite ("test"). Run as root, or as a user who may use sudo.
#   LUMARA_BUILD_DIR      build folder (default build/ at the top)
#   LUMARA_CMAKE_OPTIONS  further options for cmake, e.g. "-DLUMARA_SANITIZE=ON"
set -euo pipefail

mode=${1:-run}
case "$mode" in
    run | test) ;;
    *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-webengine-dev qt6-multimedia-dev qt6-image-formats-plugins
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
    libarchive-dev libfreexl-dev mdbtools-dev libgl-dev libfontconfig-dev libjpeg-dev
    xvfb xauth adwaita-icon-theme libqt6svg6
)
if [ "$mode" = test ]; then
    packages+=(libgtest-dev libbenchmark-dev python3 zip unzip gcab libarchive-tools sox ffmpeg
        fonts-dejavu-core fonts-dejavu-extra python3-xlwt fp-units-db clang-format dbus-daemon
        libglib2.0-bin appstream dpkg-dev icoutils
        python3-xlrd)
    packages+=(libwmf-bin fonts-urw-base35) # wmf2gd, the reference WMF reader, and its fonts
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build=${LUMARA_BUILD_DIR:-$top/build}
# Where ccache is installed, clones in other folders share its cache.
export CCACHE_BASEDIR="$top"
read -r -a extra_options <<<"${LUMARA_CMAKE_OPTIONS:-}"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DLUMARA_BUILD_TESTS="$([ "$mode" = test ] && echo ON || echo OFF)" \
    "${extra_options[@]}" >/dev/null
cmake --build "$build" --parallel "$(nproc)"

if [ "$mode" = test ]; then
    exclude=()
    [ -n "${LUMARA_CTEST_EXCLUDE:-}" ] && exclude=(-E "$LUMARA_CTEST_EXCLUDE")
    exec ctest --test-dir "$build" --output-on-failure --parallel 2 "${exclude[@]}"
fi
exec "$build/lumara"
