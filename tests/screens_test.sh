#!/usr/bin/env bash
# Runs every headless script of tests/screens and checks what it printed
# against NAME.expected and every screenshot it took against the reviewed
# picture of the same name in tests/screens/golden.
#   tests/screens_test.sh QUORIX WORK_DIR
set -euo pipefail
quorix="$1"
work="$2"
here="$(cd "$(dirname "$0")" && pwd)/screens"
rm -rf "$work"
mkdir -p "$work"
status=0
for script in "$here"/*.txt; do
  name="$(basename "$script" .txt)"
  mkdir -p "$work/$name"
  (cd "$work/$name" && "$quorix" --headless --data-dir "$work/$name/data" --script "$script" >output.txt)
  if ! diff -u "$here/$name.expected" "$work/$name/output.txt"; then
    echo "$name: the printed output differs"
    status=1
  fi
  for shot in $(awk '$1 == "shot" || $1 == "dialogshot" { print $2 }' "$script"); do
    if ! "$quorix" --compare "$here/golden/$shot" "$work/$name/$shot"; then
      echo "$name: $shot differs from the reviewed picture"
      status=1
    fi
  done
done
exit $status
