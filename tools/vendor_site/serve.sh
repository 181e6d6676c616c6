#!/usr/bin/env bash
# Serves the vendor's site on a loopback port with the sample release database:
#   tools/vendor_site/serve.sh BUILD_DIR [PORT]
# BUILD_DIR is a CMake build folder holding tools/vendor_site/changelog.cgi and
# version.cgi. Prints the server variables for the programs, then serves until
# interrupted.
set -euo pipefail
. "$(dirname "$0")/site.sh"
build=$(cd "${1:?usage: serve.sh BUILD_DIR [PORT]}" && pwd)
VENDOR_PORT=${2:-8080}
state=$(mktemp -d "${TMPDIR:-/tmp}/zorm-vendor-XXXXXX")
trap 'kill "${VENDOR_PID:-}" 2>/dev/null; rm -rf "$state"' EXIT
trap 'exit 143' TERM INT
vendor_site_start "$build" "$state"
echo "ZORMVENDORSERVER=127.0.0.1:$VENDOR_PORT ZORMUPDATESERVER=127.0.0.1:$VENDOR_PORT"
wait "$VENDOR_PID"
