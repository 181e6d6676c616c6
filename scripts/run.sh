#!/usr/bin/env bash
# Installs what the project needs, builds it, and runs the main job: the Calvaro
# Upgrade Utility for the sample module ABC against the vendor's site served on
# loopback, with a sample package built by wixl (see tools/demo/demo.sh).
# Arguments, when given, replace the sample's module, build date and package.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORM_TESTS=OFF >/dev/null
cmake --build build/run -j"$(nproc)" \
  --target calvaro-upgrade calvaro-upgrade-cli zormreport zormlist changelog_cgi version_cgi
exec tools/demo/demo.sh build/run "$@"
