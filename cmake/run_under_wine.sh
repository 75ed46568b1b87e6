#!/bin/sh
# Runs a Windows program under Wine in a Wine prefix of the build's own:
#   run_under_wine.sh WINE64 WINESERVER PREFIX PROGRAM [ARGUMENTS...]
# The Wine server is started to stay up 30 seconds after its last program has ended, so
# the next test program finds it (and Wine's services) running: without it each of the
# hundreds of test processes would wait seconds for Wine to start. It ends by itself.
wine64=$1 wineserver=$2 prefix=$3
shift 3
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A new server also starts Wine's own services, which outlive the program: start them
# with a trivial program whose standard streams lead nowhere, or they would keep the
# pipes of the first test program open (and its caller waiting) until they end.
if "$wineserver" -p30 >/dev/null 2>&1; then
  "$wine64" cmd /c exit </dev/null >/dev/null 2>&1
fi
exec "$wine64" "$@"
