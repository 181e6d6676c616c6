# Shell functions (source this file) that serve the vendor's site for the demo
# and the benchmarks: lighttpd on a free loopback port running changelog.cgi and
# version.cgi over a fresh database of the sample data.
#
#   vendor_site_start BUILD_DIR STATE_DIR [EXTRA_SQL_FILE]
#
# starts lighttpd in the background and sets VENDOR_PORT and VENDOR_PID; the
# caller stops it (kill "$VENDOR_PID"). STATE_DIR holds the database and the
# server's files.
vendor_site_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

vendor_site_start() {
  local build state=$2 extra=${3:-}
  build=$(cd "$1" && pwd) || return 1  # lighttpd runs the programs by absolute path
  local bin=$build/tools/vendor_site program
  for program in changelog.cgi version.cgi; do
    [ -x "$bin/$program" ] || { echo "vendor site: $bin/$program is missing; build it first" >&2; return 1; }
  done
  mkdir -p "$state/www"
  sqlite3 "$state/vendor.db" ".read $vendor_site_here/schema.sql" ".read $vendor_site_here/sample.sql"
  [ -z "$extra" ] || sqlite3 "$state/vendor.db" ".read $extra"
  # A port the system hands out is free at this moment; lighttpd takes it next.
  VENDOR_PORT=${VENDOR_PORT:-$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')}
  cat > "$state/lighttpd.conf" <<CONF
var.vendor_port = $VENDOR_PORT
var.vendor_bin = "$bin"
var.vendor_db = "$state/vendor.db"
var.vendor_state = "$state"
include "$vendor_site_here/lighttpd.conf"
CONF
  lighttpd -D -f "$state/lighttpd.conf" &
  VENDOR_PID=$!
  local _
  for _ in $(seq 100); do
    curl -sf -o /dev/null "http://127.0.0.1:$VENDOR_PORT/cgi/changelog.cgi?Module=ABC" && return 0
    kill -0 "$VENDOR_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "vendor site: lighttpd did not answer on port $VENDOR_PORT" >&2
  return 1
}
