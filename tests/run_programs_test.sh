#!/usr/bin/env bash
# quorix --run from the command line: built-in and custom programs, their
# printed lines, fout files, missing values, run errors and refused files.
#   tests/run_programs_test.sh QUORIX WORK_DIR
set -uo pipefail
quorix="$1"
work="$2"
rm -rf "$work"
mkdir -p "$work/programs"
status=0

# expect EXIT_CODE EXPECTED_STDOUT EXPECTED_STDERR_PART -- ARGS...
expect() {
  local code="$1" want="$2" err_part="$3"
  shift 4
  local got err rc
  got="$("$quorix" --run --data-dir "$work" "$@" 2>"$work/stderr")"
  rc=$?
  err="$(cat "$work/stderr")"
  if [ "$rc" != "$code" ] || [ "$got" != "$want" ] || [[ "$err" != *"$err_part"* ]]; then
    echo "--run $*: exit $rc (want $code)"
    echo "--- stdout ---"; echo "$got"; echo "--- want ---"; echo "$want"
    echo "--- stderr ---"; echo "$err"; echo "--- want a part ---"; echo "$err_part"
    status=1
  fi
}

expect 0 "GCD A=6" "" -- "Greatest Common Divisor" 48 18
expect 0 $'Factor D=2\nFactor D=2\nFactor D=2\nFactor D=3\nFactor D=3\nFactor N=5' "" -- "Prime Factors" 360
expect 0 $'Root x1 X=-1+2i\nRoot x2 Y=-1-2i' "" -- "Quadratic Equation" 1 2 5
expect 0 "Area Q=26.83281573" "" -- "Heron's Formula" 7 8 9
expect 1 "" "waits for a value" -- "Volume of Cylinder" 2
expect 2 "" "no program named" -- "No Such Program"

# A custom program written CR LF: 1>A, 0>B, A/B fails at its third line.
printf 'N: Div\r\nV: 1.1\r\nI: 11\r\nE: 33,910,\r\nI: 11\r\nE: 38,911,\r\nI: 11\r\nE: 810,32,811,\r\n' \
  >"$work/programs/Div.prgm"
expect 1 "" "Division by Zero (line 3)" -- Div

# LF-only lines load like CR LF; fout writes its file beside the program.
printf 'N: Out\nV: 1.1\nI: 9\n0: 10\nI: 11\nE: 810,31,34,\nI: 14\nI: 10\nP: 1\nI: 12\n' >"$work/programs/Out.prgm"
expect 0 "Ans=42" "" -- Out 21
if [ "$(cat "$work/programs/Out.txt")" != $'Ans=\t42\r' ]; then
  echo "fout wrote: $(od -c "$work/programs/Out.txt")"
  status=1
fi

# A file from a newer version is refused and left as it was.
printf 'N: New\r\nV: 1.2\r\nI: 12\r\n' >"$work/programs/New.prgm"
cp "$work/programs/New.prgm" "$work/new.copy"
expect 2 "" "requires a more recent revision" -- New
cmp -s "$work/programs/New.prgm" "$work/new.copy" || { echo "a refused file was changed"; status=1; }
printf 'N: Bad\r\nV: 1.1\r\nI: 68\r\n' >"$work/programs/Bad.prgm"
expect 2 "" "requires a more recent revision" -- Bad
exit $status
