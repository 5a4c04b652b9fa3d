#!/bin/sh
# The README's pictures are the same, byte for byte, whenever they are made: the second
# run's host clock is moved years away (when libfaketime is at hand), which a picture
# taken from the host's time instead of the pinned one would show.
# usage: same_pictures.sh TOOL [LIBFAKETIME]
set -eu
tool=$1
faketime_lib=${2:-}
first=$(mktemp -d)
second=$(mktemp -d)
trap 'rm -rf "$first" "$second"' EXIT

"$tool" "$first"
if [ -n "$faketime_lib" ]; then
  LD_PRELOAD=$faketime_lib FAKETIME="@2031-02-03 04:05:06" "$tool" "$second"
else
  "$tool" "$second"
fi
count=0
for name in face-portrait face-landscape options exit-box; do
  [ -s "$first/$name.png" ] || { echo "no $name.png"; exit 1; }
  cmp "$first/$name.png" "$second/$name.png" || { echo "$name.png differs between two runs"; exit 1; }
  count=$((count + 1))
done
[ "$(ls "$first" | wc -l)" -eq "$count" ] || { echo "unexpected files: $(ls "$first")"; exit 1; }
