#!/usr/bin/env bash
# Runs one test executable under valgrind's memcheck; any memory error or
# definite leak fails it. Exits 77 (skipped) where valgrind is not installed.
# A test's own allocation functions stay in place (they call malloc, which
# memcheck watches). Otherwise memcheck takes over the calls that the
# position-independent libraries make through their linkage table, and a test
# that counts allocations sees only its own.
set -uo pipefail

if ! command -v valgrind >/dev/null 2>&1; then
    echo "SKIPPED: valgrind is not installed and could not be installed on this machine"
    exit 77
fi

exec valgrind --error-exitcode=1 --leak-check=full --soname-synonyms=somalloc=nouserintercepts --suppressions="$(dirname "$0")/valgrind.supp" "$@"
