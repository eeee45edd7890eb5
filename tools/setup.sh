#!/usr/bin/env bash
# Sets up a Debian 12 machine for Mervane and builds it.
#   tools/setup.sh run        install what is missing, build in release mode, start Mervane
#   tools/setup.sh test       install what is missing, build with the tests and benchmarks (and
#                             the tests' assertions), run every test with ctest
#   tools/setup.sh sanitize   the same tests in an AddressSanitizer + UBSan build
#   tools/setup.sh install    only install what is missing
# MERVANE_TEST_TIME_SCALE=N raises every test's time limit N times (by default 2 for `test`
# and 4 for `sanitize`, whose programs run about twice as slowly): for a slower or busier machine.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-run}
jobs=$(nproc 2>/dev/null || echo 2)

install_missing() {
    local wanted missing=()
    wanted=$(grep -v '^\s*#' "$root/tools/debian-packages.txt" | grep -v '^\s*$')
    for pkg in $wanted; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# stage <name> <command...>: runs one step and prints how long it took.
stage() {
    local name=$1 start=$SECONDS status=0
    shift
    "$@" || status=$?
    echo "== $name took $((SECONDS - start)) s"
    return $status
}

# build <folder> <build type> <extra cmake arguments...>
build() {
    local dir=$1 type=$2 launcher=()
    shift 2
    # Compiled objects are kept in the user's cache folder (~/.cache/ccache): a later build
    # of any clone on this machine reuses them. Paths are taken relative to the clone so
    # that clones in other folders share the cache.
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
        # The sources are compiled with precompiled headers (cmake/MervanePch.cmake): ccache
        # caches them only when told to ignore the PCH's defines and the headers' times.
        export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
    fi
    stage "configure ($dir)" cmake -S "$root" -B "$root/$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" \
        "${launcher[@]}" "$@"
    stage "build ($dir)" cmake --build "$root/$dir" --parallel "$jobs"
}

run_tests() {
    local dir=$1
    # ctest prints its summary ("100% tests passed, ...") and fails when any test fails. Most
    # tests wait more than they compute (a process or an X server starting, a poll): twice as
    # many at once as there are cores keep the cores busy (on two cores the release tests took
    # 272 s instead of 520 s), and their time limits allow for it.
    (cd "$root/$dir" && stage "tests ($dir)" ctest --output-on-failure --parallel $((jobs * 2)) --timeout 300)
}

stage "package install" install_missing
case "$mode" in
install) ;;
run)
    build build Release -DMERVANE_TESTS=OFF -DMERVANE_BENCH=OFF
    exec "$root/build/src/mervane"
    ;;
test)
    # Tests, benchmarks and fuzz replays are compiled in unity batches; the program's own
    # sources one by one, as `run` and a plain configure build them (cmake/MervaneUnity.cmake).
    build build-tests Release -DMERVANE_WERROR=ON -DMERVANE_TESTS=ON -DMERVANE_BENCH=ON -DMERVANE_UNITY=TESTS \
        -DMERVANE_TEST_TIME_SCALE="${MERVANE_TEST_TIME_SCALE:-2}"
    run_tests build-tests
    ;;
sanitize)
    # -O1 and line tables only (-g1): the sanitizers' reports keep file:line in their stack
    # traces, and the build takes about half the time of -O2 with full debug info.
    # Every target in unity batches: the test build above checks each source of the program alone.
    build build-asan RelWithDebInfo -DMERVANE_WERROR=ON -DMERVANE_SANITIZE=ON -DMERVANE_TESTS=ON \
        -DMERVANE_BENCH=OFF -DMERVANE_UNITY=ALL "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" \
        -DMERVANE_TEST_TIME_SCALE="${MERVANE_TEST_TIME_SCALE:-4}"
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
    # Quoted: the sanitizers split their options at spaces and colons, which a checkout's path may hold.
    export LSAN_OPTIONS="suppressions=\"$root/tools/lsan.supp\":print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    run_tests build-asan
    ;;
*)
    echo "usage: $0 run|test|sanitize|install" >&2
    exit 2
    ;;
esac
