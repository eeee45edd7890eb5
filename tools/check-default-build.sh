#!/usr/bin/env bash
# Configures Mervane as someone building it for use would, with the default generator, in
# a temporary folder: once with no build type (`cmake -S . -B <dir>`), once with
# `-DCMAKE_BUILD_TYPE=Release`. Fails when either build is not what ships: when it is not
# optimised (no -O2/-O3 and NDEBUG on the program's sources), compiles tests, benchmarks or
# fuzz targets, or forces the assertions only test builds keep (_GLIBCXX_ASSERTIONS,
# QT_FORCE_ASSERTS). Configuring only: a few seconds.
#   tools/check-default-build.sh [extra cmake arguments...]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# check <label> <cmake arguments...>
check() {
    local label=$1 dir
    shift
    dir=$(mktemp -d -p "$tmp")
    if ! cmake -S "$root" -B "$dir" "$@" >"$dir/configure.txt" 2>&1; then
        cat "$dir/configure.txt" >&2
        echo "$label: the configure failed." >&2
        return 1
    fi
    local commands=$dir/compile_commands.json main
    main=$(grep -B3 -A3 -F "\"file\": \"$root/src/main.cpp\"" "$commands" 2>/dev/null | grep '"command"' || true)
    if [ -z "$main" ]; then
        echo "$label: compiles no program ($commands lacks src/main.cpp)." >&2
        return 1
    fi

    local status=0 forced extra
    if ! grep -qE -- ' -O[23s]( |$)' <<<"$main" || ! grep -qE -- ' -DNDEBUG( |$)' <<<"$main"; then
        echo "$label: the program is built without optimisation (no -O2/-O3 and -DNDEBUG)." >&2
        status=1
    fi
    forced=$(grep -oE -- '-D(_GLIBCXX_ASSERTIONS|QT_FORCE_ASSERTS)([= ]|$)' "$commands" | tr -d ' =' | sort -u || true)
    if [ -n "$forced" ]; then
        echo "$label: the build forces assertions: $(echo $forced)" >&2
        status=1
    fi
    extra=$(grep -oE "\"file\": \"$root/(tests|bench|fuzz)/[^\"]*\"" "$commands" | sed -E 's/"file": "(.*)"/\1/' || true)
    if [ -n "$extra" ]; then
        echo "$label: the build compiles what does not ship ($(echo "$extra" | wc -l) sources), such as:" >&2
        echo "$extra" | head -3 | sed "s|^$root/|  |" >&2
        status=1
    fi
    [ $status -eq 0 ] && echo "$label: builds what ships, optimised, without forced assertions."
    return $status
}

status=0
check "A plain configure" "$@" || status=1
check "A release configure" -DCMAKE_BUILD_TYPE=Release "$@" || status=1
exit $status
