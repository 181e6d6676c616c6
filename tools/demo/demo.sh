#!/usr/bin/env bash
# The upgrade utility end to end on this machine:
#   tools/demo/demo.sh BUILD_DIR [MODULE BUILT PACKAGE ...]
# Serves the vendor's site (changelog.cgi and version.cgi over the sample release
# database) with lighttpd on a free loopback port, builds the sample package
# abc.msi with wixl, and opens calvaro-upgrade for module ABC built "Jul  5 2021"
# with that package, or with the arguments given. Installing puts the module under
# $XDG_DATA_HOME/Morvend (or where INSTALLDIR=... typed into "MSI Properties" says).
#
# Without a display the utility runs in a private Xvfb server; a screenshot of its
# window is saved (ZORM_DEMO_SCREENSHOT, by default BUILD_DIR/demo-screenshot.png)
# and the utility is closed again.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../vendor_site/site.sh"
. "$here/../../scripts/lib/xvfb.sh"
build=$(cd "${1:?usage: demo.sh BUILD_DIR [MODULE BUILT PACKAGE ...]}" && pwd)
shift
utility=$build/app/calvaro-upgrade
[ -x "$utility" ] || { echo "demo: $utility is missing; build it first" >&2; exit 1; }

state=$(mktemp -d "${TMPDIR:-/tmp}/calvaro-demo-XXXXXX")
cleanup() {
  kill ${utility_pid:-} ${VENDOR_PID:-} ${XVFB_PID:-} 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$state"
}
trap cleanup EXIT

vendor_site_start "$build" "$state"
echo "demo: vendor site on http://127.0.0.1:$VENDOR_PORT (changelog.cgi, version.cgi)"
wixl -o "$state/abc.msi" "$here/abc.wxs"
echo "demo: sample package $state/abc.msi"

if [ $# -eq 0 ]; then set -- ABC "Jul  5 2021" "$state/abc.msi"; fi
export ZORMVENDORSERVER=127.0.0.1:$VENDOR_PORT ZORMUPDATESERVER=127.0.0.1:$VENDOR_PORT

if [ -n "${DISPLAY:-}" ]; then
  echo "demo: opening calvaro-upgrade $*"
  status=0
  "$utility" "$@" || status=$?
  exit $status
fi

# No display: a private X server, a screenshot of the window, then close it.
screenshot=${ZORM_DEMO_SCREENSHOT:-$build/demo-screenshot.png}
private_xvfb_start "$state"
echo "demo: no display; running calvaro-upgrade $* in Xvfb $DISPLAY"
"$utility" "$@" &
utility_pid=$!
window=
for _ in $(seq 150); do
  window=$(xwininfo -root -tree 2>/dev/null | awk '/"Calvaro Upgrade Utility"/ { print $1; exit }')
  [ -n "$window" ] && break
  kill -0 "$utility_pid" 2>/dev/null || { echo "demo: calvaro-upgrade ended early" >&2; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { echo "demo: the utility's window did not appear" >&2; exit 1; }
sleep 1.5  # the list and the grid paint after the window is mapped
import -window "$window" "$screenshot"
echo "demo: screenshot of the utility saved to $screenshot"
