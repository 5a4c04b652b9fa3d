#!/usr/bin/env bash
# Every function win32.h declares for the device is defined by the device's libraries,
# so that no declared name fails only when a program first calls it. The program's
# entry point is the one name the device calls instead of defining.
# Usage: win32_names.sh WIN32_H NM LIBRARY... (the first library holds main())
set -euo pipefail
header=$1 nm=$2
shift 2
entry=WinMain

# The device's part of the header (from its #else to the end, both builds' shared names
# included) as statements, without preprocessor lines and comments; a function's starts
# with its return type and name.
declared=$(sed -n '/^#else  \/\/ the device/,$p' "$header" | grep -v '^ *#' | sed 's://.*::' | tr '\n' ' ' |
           tr ';}' '\n\n' | grep -Ev '^ *(typedef|struct|union|static_assert|DECLARE_HANDLE)\b' |
           sed -nE 's/^[^(]*[^A-Za-z0-9_(]([A-Za-z_][A-Za-z0-9_]*) *\(.*/\1/p' | sort -u)
count=$(printf '%s\n' "$declared" | grep -c . || true)
if [ "$count" -lt 50 ]; then
  echo "found only $count function declarations in $header: the extraction no longer matches it" >&2
  exit 1
fi

defined=$("$nm" -C --defined-only "$@" 2>/dev/null | awk '$2 ~ /^[TW]$/ { $1 = $2 = ""; print }' |
          sed -nE 's/^ *([A-Za-z_][A-Za-z0-9_]*)\(.*/\1/p' | sort -u)
called=$("$nm" -C --undefined-only "$1" 2>/dev/null | sed -nE 's/^ *U ([A-Za-z_][A-Za-z0-9_]*)\(.*/\1/p' | sort -u)

missing=()
for name in $declared; do
  if [ "$name" = "$entry" ]; then
    grep -qx "$entry" <<<"$called" || missing+=("$entry (not called by $1)")
  elif ! grep -qx "$name" <<<"$defined"; then
    missing+=("$name")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "declared in $header but not defined by the device:" >&2
  printf '  %s\n' "${missing[@]}" >&2
  exit 1
fi
echo "$count functions declared, each defined by the device (and $entry called by it)"
