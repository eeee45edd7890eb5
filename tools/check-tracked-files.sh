#!/usr/bin/env bash
# Fails when the repository tracks a log, a temporary or backup file, an editor's or a
# crash's leftover, or a scratch file: they hold machine paths and outputs of one run, and
# belong in the build folder or nowhere.
#   tools/check-tracked-files.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# Matched against each tracked path, case-insensitively.
pattern='(\.(log|tmp|temp|bak|orig|rej|swp|swo|out)$|~$|(^|/)(core(\.[0-9]+)?|\.#[^/]*|#[^/]*#|\.ds_store)$|(^|/)[^/]*scratch[^/]*$)'

found=$(git ls-files -z | tr '\0' '\n' | grep -iE "$pattern" || true)
if [ -n "$found" ]; then
    echo "Tracked files that are logs, temporary, backup or scratch files (git rm them):" >&2
    printf '%s\n' "$found" | sed 's/^/  /' >&2
    exit 1
fi
echo "No log, temporary or scratch file is tracked."
