#!/bin/sh
# The shared library must export exactly the functions its public header declares.
# Usage: check_exports.sh LIBRARY HEADER
set -eu
exported=$(nm -D --defined-only "$1" | awk '{print $3}' | sort)
declared=$(grep -o 'Velorin_[A-Za-z0-9_]*(' "$2" | tr -d '(' | sort)
if [ "$exported" != "$declared" ]; then
    echo "exported and declared symbols differ:"
    printf '%s\n' "$exported" >"${TMPDIR:-/tmp}/exported.$$"
    printf '%s\n' "$declared" | diff "${TMPDIR:-/tmp}/exported.$$" - || true
    rm -f "${TMPDIR:-/tmp}/exported.$$"
    exit 1
fi
