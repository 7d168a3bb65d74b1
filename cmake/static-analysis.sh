#!/usr/bin/env bash
# Static analysis of the plug-in's sources (not the tests): any finding fails.
set -uo pipefail
src=$1
cd "$src/drivers/system/zvaa" || exit 1
exec cppcheck --quiet --enable=warning,performance,portability --std=c++17 --library=windows \
    --platform=win32W --error-exitcode=1 --inline-suppr -I . -I include \
    --suppress=missingIncludeSystem core state jobs ui setup
