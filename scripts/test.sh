#!/bin/sh
# Installs what is missing, builds every build and runs every test: the host
# unit tests natively (plain and with ASan/UBSan), then the Windows builds'
# tests under Wine on headless displays. Where this host runs 32-bit code,
# the 32-bit build's tests run under 32-bit Wine and the 64-bit build's under
# 64-bit Wine; where it does not, the 64-bit build's tests run alone.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/cmake/wine/common.sh"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" all

status=0
flaky=""

echo "== host build =="
ctest --test-dir "$root/build/host" --output-on-failure || status=1
echo "== host build with ASan/UBSan =="
ctest --test-dir "$root/build/asan" --output-on-failure || status=1

# failed_tests DIR: the names of the tests that failed in DIR's last run.
failed_tests() {
  sed 's/^[0-9]*://' "$1/Testing/Temporary/LastTestsFailed.log" 2>/dev/null || true
}

# windows_suite DIR TITLE [CTEST ARGS]: the Windows tests drive windows of
# other processes and wait on them; on a loaded machine a timing slip can fail
# one. A failed test is run once more (its first failure stays in the
# output); one that fails twice fails the run, one that passes the second
# time is listed as flaky at the end.
windows_suite() {
  dir=$1
  title=$2
  shift 2
  echo "== $title =="
  if ctest --test-dir "$dir" --output-on-failure "$@"; then
    return 0
  fi
  first=$(failed_tests "$dir")
  echo "-- running the failed tests once more:" $first
  still=""
  if ! ctest --test-dir "$dir" --output-on-failure --rerun-failed; then
    still=$(failed_tests "$dir")
    status=1
  fi
  for t in $first; do
    case " $(echo $still) " in
      *" $t "*) ;;
      *) flaky="$flaky $(basename "$dir"):$t" ;;
    esac
  done
}

if qv_runs32; then
  windows_suite "$root/build/win" "32-bit Windows build under 32-bit Wine"
  # The benchmarks ran in the 32-bit build, the one controllers take first;
  # the portable code's tests ran there and in the (64-bit) host builds.
  windows_suite "$root/build/win64" "64-bit Windows build under 64-bit Wine" -LE 'bench|portable'
else
  windows_suite "$root/build/win64" "64-bit Windows build under 64-bit Wine"
fi

echo "== summary =="
if [ -n "$flaky" ]; then
  echo "Flaky (failed, then passed when run again):$flaky"
fi
if ! qv_runs32; then
  echo "The 32-bit Windows build (build/win) was built, but its tests could not run on this host: $qv_no32_reason."
fi
if [ $status = 0 ]; then echo "All tests passed."; else echo "Some tests failed."; fi
exit $status
