#!/usr/bin/env bash
# Runs ctest in the build tree's Wine session: a clean prefix from the template, a persistent and
# warmed-up server for the whole run, stopped again at the end whatever happens.
#   run-tests.sh BUILD_DIR [ctest arguments...]
set -uo pipefail
build=$1; shift
here=$(cd "$(dirname "$0")" && pwd)

bash "$here/wine-session.sh" "$build" fresh || { echo "run-tests: the Wine session did not start" >&2; exit 1; }
trap 'bash "$here/wine-session.sh" "$build" stop' EXIT

ctest --test-dir "$build" --output-on-failure -j "${ZVAA_TEST_JOBS:-2}" "$@"
