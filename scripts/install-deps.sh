#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Idempotent; works as root or through sudo; fetches only Debian packages.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build ccache pkg-config git
  clang-14 libfuzzer-14-dev libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # libraries
  libwxgtk3.2-dev libgtk-3-dev libcurl4-openssl-dev libpugixml-dev libmsi-dev libgcab-dev
  uuid-dev libhpdf-dev libqrcodegen-dev libxlsxwriter-dev libconfig-dev
  libcgicc-dev libcjson-dev libsqlite3-dev zlib1g-dev
  # run time: servers, mail and shell hand-off, fonts
  lighttpd sqlite3 xdg-utils cups-client msitools wixl
  fonts-liberation fonts-dejavu-core fonts-wqy-microhei
  # tests: X server, document and workbook readers, comparisons
  xvfb xauth x11-apps x11-utils xdotool imagemagick poppler-utils qpdf zbar-tools curl
  python3 python3-openpyxl python3-reportlab python3-feedparser python3-pil
  time
  # driving programs from outside: the accessibility bus and its Python client,
  # GTK's bridge onto it, a session bus, the clipboard
  at-spi2-core libatk-adaptor python3-pyatspi dbus xclip
  # icon sources: rendering the SVGs (scripts/render-icons.sh)
  librsvg2-bin
)

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -q --no-install-recommends "${missing[@]}"
