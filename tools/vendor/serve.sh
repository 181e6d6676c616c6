#!/usr/bin/env bash
# Serves the vendor's site on a loopback port with the sample release database:
#   tools/vendor/serve.sh BUILD_DIR [PORT]
# BUILD_DIR is a CMake build folder holding tools/vendor/changelog.cgi and
# version.cgi. Prints the server variables for the programs, then runs lighttpd
# in the foreground until interrupted.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: serve.sh BUILD_DIR [PORT]}" && pwd)
port=${2:-8080}
bin=$build/tools/vendor
for program in changelog.cgi version.cgi; do
  [ -x "$bin/$program" ] || { echo "serve.sh: $bin/$program is missing; build it first" >&2; exit 1; }
done

state=$(mktemp -d "${TMPDIR:-/tmp}/zorm-vendor-XXXXXX")
trap 'rm -rf "$state"' EXIT
mkdir -p "$state/www"
sqlite3 "$state/vendor.db" ".read $here/schema.sql" ".read $here/sample.sql"
cat > "$state/lighttpd.conf" <<CONF
var.vendor_port = $port
var.vendor_bin = "$bin"
var.vendor_db = "$state/vendor.db"
var.vendor_state = "$state"
include "$here/lighttpd.conf"
CONF
echo "ZORMVENDORSERVER=127.0.0.1:$port ZORMUPDATESERVER=127.0.0.1:$port"
lighttpd -D -f "$state/lighttpd.conf"
