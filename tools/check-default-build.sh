#!/usr/bin/env bash
# Configures Mervane as someone building it for use would, with the build type alone
# (`cmake -B <dir> -DCMAKE_BUILD_TYPE=Release`, the default generator), in a temporary
# folder, and fails when that build is not what ships: when it compiles tests, benchmarks
# or fuzz targets, or forces the assertions only test builds keep (_GLIBCXX_ASSERTIONS,
# QT_FORCE_ASSERTS). Configuring only: a few seconds.
#   tools/check-default-build.sh [extra cmake arguments...]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

if ! cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >"$dir/configure.txt" 2>&1; then
    cat "$dir/configure.txt" >&2
    echo "The default configure failed." >&2
    exit 1
fi
commands=$dir/compile_commands.json
if ! grep -q "\"file\": \"$root/src/main.cpp\"" "$commands" 2>/dev/null; then
    echo "The default configure compiles no program ($commands lacks src/main.cpp)." >&2
    exit 1
fi

status=0
forced=$(grep -oE -- '-D(_GLIBCXX_ASSERTIONS|QT_FORCE_ASSERTS)([= ]|$)' "$commands" | tr -d ' =' | sort -u || true)
if [ -n "$forced" ]; then
    echo "The default build forces assertions: $(echo $forced)" >&2
    status=1
fi
extra=$(grep -oE "\"file\": \"$root/(tests|bench|fuzz)/[^\"]*\"" "$commands" | sed -E 's/"file": "(.*)"/\1/' || true)
if [ -n "$extra" ]; then
    echo "The default build compiles what does not ship ($(echo "$extra" | wc -l) sources), such as:" >&2
    echo "$extra" | head -3 | sed "s|^$root/|  |" >&2
    status=1
fi
[ $status -eq 0 ] && echo "The default build compiles what ships, without forced assertions."
exit $status
