#!/bin/sh
# Installs what is missing, builds every build and runs every test: the
# host unit tests natively (plain and with ASan/UBSan), then the Windows
# build's tests under Wine on a headless display.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" all
status=0
echo "== host build =="
ctest --test-dir "$root/build/host" --output-on-failure || status=1
echo "== host build with ASan/UBSan =="
ctest --test-dir "$root/build/asan" --output-on-failure || status=1
echo "== Windows build under Wine =="
# These tests drive windows of other processes and wait on them; on a
# loaded machine a timing slip can fail one. A failed test is run once more
# (its first failure stays in the output); one that fails twice fails the run.
ctest --test-dir "$root/build/win" --output-on-failure --repeat until-pass:2 || status=1
exit $status
