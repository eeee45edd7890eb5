#!/usr/bin/env bash
# check_packages_test.sh <source folder> <build folder>
set -uo pipefail
root=$1 build=$2
check="$root/tools/check-packages.sh"
list=$(mktemp)
trap 'rm -f "$list"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Qt Charts' CMake package loads Qt6OpenGL, whose files come only with libqt6opengl6-dev.
grep -vx 'libqt6opengl6-dev' "$root/tools/debian-packages.txt" > "$list"
out=$("$check" --list "$list" "$build") && fail "the check passed on a list without libqt6opengl6-dev"
echo "$out"
grep -q '^missing: libqt6opengl6-dev (CMake found Qt6OpenGL_DIR=' <<<"$out" \
    || fail "the check did not name libqt6opengl6-dev as found through Qt6OpenGL_DIR"

# A program the tests run, taken out of the list, is named with how it was found.
grep -vx 'xdotool' "$root/tools/debian-packages.txt" > "$list"
out=$("$check" --list "$list" "$build") && fail "the check passed on a list without xdotool"
grep -q '^missing: xdotool (the tests run xdotool' <<<"$out" || fail "the check did not name xdotool"

"$check" "$build" || fail "the project's own list misses a package"
echo "check-packages: names a missing package, passes on the project's list"
