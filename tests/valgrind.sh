#!/usr/bin/env bash
# Runs one test executable under valgrind's memcheck; any memory error or
# definite leak fails it. Exits 77 (skipped) where valgrind is not installed.
set -uo pipefail

if ! command -v valgrind >/dev/null 2>&1; then
    echo "SKIPPED: valgrind is not installed and could not be installed on this machine"
    exit 77
fi

exec valgrind --error-exitcode=1 --leak-check=full --suppressions="$(dirname "$0")/valgrind.supp" "$@"
