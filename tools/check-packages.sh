#!/usr/bin/env bash
# Fails when the build or the tests use something from this machine that the package list
# does not bring in. A machine where a package was once installed by hand builds and tests
# fine; a fresh one does not. This finds the difference on either.
#
#   tools/check-packages.sh [--list FILE] BUILD_DIR
#
# What it collects, each mapped to its Debian package with dpkg -S:
#   - the CMake package folders the configure step found (*_DIR entries of the cache);
#   - the shared libraries the built programs load (ldd);
#   - the programs the build and the tests run (the list below; add to it when a test
#     starts using another program).
# Each package must be listed, or be in the dependency closure of the listed packages
# without recommends, or be part of every Debian system (Essential or Priority required).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
list="$root/tools/debian-packages.txt"
if [ "${1:-}" = "--list" ]; then
    list=$2
    shift 2
fi
build=${1:?usage: $0 [--list FILE] BUILD_DIR}
cache="$build/CMakeCache.txt"
[ -f "$cache" ] || { echo "check-packages: no CMakeCache.txt in $build" >&2; exit 2; }

programs=(cmake ninja make g++ pkg-config ccache
          Xvfb xvfb-run xdotool xprop xwininfo xmessage openbox xauth import dbus-run-session dbus-daemon dbus-send gnome-keyring-daemon
          pdftotext pdfinfo pdftoppm openssl python3 lupdate timeout curl unshare)

declare -A how_found found_by program_paths

# see <path> <how>: remembers a file the build or the tests use, and how it was found.
see() {
    [ -n "${how_found[$1]+set}" ] || how_found[$1]=$2
}

# CMake package folders: every *_DIR entry that holds a package configuration file.
while IFS='=' read -r key dir; do
    config=$(ls "$dir"/*Config.cmake "$dir"/*-config.cmake 2>/dev/null | head -n1 || true)
    [ -n "$config" ] && see "$config" "CMake found ${key%%:*}=$dir"
done < <(grep -E '^[A-Za-z0-9_]+_DIR:PATH=/' "$cache")

# Shared libraries of every program the build made.
while IFS= read -r exe; do
    while IFS= read -r lib; do
        see "$lib" "${exe#"$build"/} loads $lib"
    done < <(ldd "$exe" 2>/dev/null | awk '/=> \// { print $3 } /^[ \t]*\/[^ ]+ \(/ { print $1 }')
done < <(find "$build" -type f -perm -u+x -not -name '*.so*' -not -path '*/CMakeFiles/*' \
             -exec sh -c 'head -c4 "$1" | grep -q ELF' _ {} \; -print)

# Programs: every copy on the PATH (and Qt's tool folder); the first that a package
# installed counts, so a hand-installed one earlier on the PATH does not stand in for it.
for prog in "${programs[@]}"; do
    program_paths[$prog]=""
    for path in $(type -ap "$prog" 2>/dev/null) "/usr/lib/qt6/bin/$prog"; do
        if [ -x "$path" ]; then program_paths[$prog]+="$path "; fi
    done
done

# One dpkg query for every path under each of its names: the merged /usr makes /lib and
# /usr/lib one folder, and dpkg knows only the name the package used.
declare -A variants_of owner_of
for path in "${!how_found[@]}" ${program_paths[@]}; do
    real=$(readlink -f "$path" 2>/dev/null || echo "$path")
    variants_of[$path]="$path $real ${real#/usr} /usr$real"
done
while IFS= read -r line; do
    pkgs=${line%%: /*}
    owner_of[${line#*: }]=$(echo "${pkgs%%,*}" | cut -d: -f1)
done < <(printf '%s\n' ${variants_of[@]} | sort -u | xargs -r dpkg -S 2>/dev/null | grep ': /' || true)

owner() {
    local v
    for v in ${variants_of[$1]}; do
        [ -n "${owner_of[$v]:-}" ] && { echo "${owner_of[$v]}"; return 0; }
    done
    return 0
}

for path in "${!how_found[@]}"; do
    pkg=$(owner "$path")
    [ -n "$pkg" ] || pkg="(no package: ${how_found[$path]})"
    [ -n "${found_by[$pkg]+set}" ] || found_by[$pkg]=${how_found[$path]}
done
for prog in "${programs[@]}"; do
    pkg=""
    for path in ${program_paths[$prog]}; do
        pkg=$(owner "$path")
        [ -n "$pkg" ] && { [ -n "${found_by[$pkg]+set}" ] || found_by[$pkg]="the tests run $prog ($path)"; break; }
    done
    [ -n "$pkg" ] || found_by["(no package: $prog)"]="the tests run $prog, which no Debian package installed here"
done

# What the list brings in: the listed packages and everything they depend on.
listed=$(grep -v '^\s*#' "$list" | grep -v '^\s*$' | tr -s ' \t' '\n')
if ! apt-cache show ${listed%%$'\n'*} >/dev/null 2>&1; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -q >/dev/null
fi
declare -A brought
while IFS= read -r pkg; do
    brought[${pkg%%:*}]=1
done < <(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
             --no-replaces --no-enhances $listed | grep -v '^ ' | tr -d '<>')

missing=0
for pkg in $(printf '%s\n' "${!found_by[@]}" | sort); do
    [ -n "${brought[$pkg]+set}" ] && continue
    if [[ $pkg != "("* ]]; then
        base=$(dpkg-query -W -f='${Essential} ${Priority}' "$pkg" 2>/dev/null || true)
        [[ $base == yes* || $base == *required ]] && continue
    fi
    echo "missing: $pkg (${found_by[$pkg]})"
    missing=$((missing + 1))
done

checked=${#found_by[@]}
if [ "$missing" -gt 0 ]; then
    echo "check-packages: $missing of $checked packages the build and tests use are not brought in by $list"
    exit 1
fi
echo "check-packages: all $checked packages the build and tests use are brought in by $list"
