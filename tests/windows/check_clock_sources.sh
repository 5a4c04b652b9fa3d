#!/usr/bin/env bash
# The clock's own sources must compile unchanged against the real Windows headers.
# Usage: check_clock_sources.sh COMPILER SOURCE_DIR FILE...
set -u
cxx=$1 src=$2
shift 2
status=0
for f in "$@"; do
  if ! "$cxx" -std=c++20 -fsyntax-only -Wall -Wextra -Werror -DUNICODE -D_UNICODE \
      -I"$src/platform/include" -I"$src/shell" -I"$src/resources" "$f"; then
    echo "does not compile for Windows: $f" >&2
    status=1
  fi
done
[ $status -eq 0 ] && echo "$# clock sources compile against the Windows headers"
exit $status
