#!/bin/sh
# Installs the Debian 12 packages Tamberlo builds and tests with (sudo only when not root).
set -eu
packages="g++ cmake ninja-build pkg-config qt6-base-dev libsqlite3-dev libical-dev \
libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth librsvg2-bin poppler-utils \
desktop-file-utils dbus-daemon qtkeychain-qt6-dev radicale xandikos openssl x11-utils \
at-spi2-core python3-pyatspi xdotool \
exfat-fuse exfatprogs clang-format clang-tidy"
if [ "$(id -u)" -eq 0 ]; then
    as_root=""
else
    as_root="sudo"
fi
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    $as_root apt-get update
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y --no-install-recommends $missing
fi
