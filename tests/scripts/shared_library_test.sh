#!/usr/bin/env bash
# Every test program loads the program's code from the one shared library, instead of carrying a copy
# of it (and of its debug information) of its own: each needs the library, and is smaller than half of it.
# Usage: shared_library_test.sh LIBRARY PROGRAM...
set -uo pipefail
library=${1:?usage: shared_library_test.sh LIBRARY PROGRAM...}
shift
name=$(basename "$library")
size=$(stat -c %s "$library") || exit 1
failures=0
for program; do
  if ! readelf -d "$program" | grep -q "Shared library: \[$name\]"; then
    echo "FAILED: $(basename "$program") does not load $name" >&2
    failures=$((failures + 1))
  elif [ $(($(stat -c %s "$program") * 2)) -ge "$size" ]; then
    echo "FAILED: $(basename "$program") ($(stat -c %s "$program") bytes) carries more than half of $name ($size bytes)" >&2
    failures=$((failures + 1))
  fi
done
echo "$# programs checked against $name ($size bytes)"
[ "$failures" -eq 0 ]
