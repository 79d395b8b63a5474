#!/usr/bin/env bash
# The man page and the bash completion know every option of --help, the man
# page renders without warnings, and the completion offers options, layer
# names and files as one would type them.
# (Lines of Chinese text have no spaces to break at, so the line-breaking
# warnings are left out.)
# Usage: check_man_and_completion.sh QNCAL MAN_PAGE COMPLETION
set -uo pipefail
qncal=$1 man_page=$2 completion=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

options=$("$qncal" --help | grep -oE -- '(^|[ ,（])--?[a-z3][a-z-]*' | sed 's/^[ ,（]//' | sort -u)
[[ -n $options ]] || fail "no options found in --help"
for option in $options; do
  grep -qF -- "${option//-/\\-}" "$man_page" || fail "the man page does not mention $option"
  grep -qE -- "(^|[ \"])$option( |\")" "$completion" || fail "the completion does not offer $option"
done
for layer in lunar terms festivals statutory almanac; do
  grep -q "^\.B $layer\$" "$man_page" || fail "the man page does not describe the layer $layer"
done

if command -v groff >/dev/null; then
  warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -Wbreak -z -k "$man_page" 2>&1)
  [[ -z $warnings ]] || fail "groff warns: $warnings"
fi

# shellcheck source=/dev/null
source "$completion"
complete_line() {  # the words typed so far, the last one being completed
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _qncal
  echo "${COMPREPLY[*]}"
}
expect() {
  local expected=$1; shift
  local got
  got=$(complete_line "$@")
  [[ $got == "$expected" ]] || fail "completing '$*': expected '$expected', got '$got'"
}
expect "--leap --layers" qncal --l
expect "--day" qncal --d
expect "lunar terms festivals statutory almanac" qncal --ics 2024-01-01 2024-12-31 --layers ""
expect "lunar,terms" qncal --layers lunar,t
expect "lunar,terms,festivals lunar,terms,statutory lunar,terms,almanac" qncal --layers lunar,terms,
expect "festivals" qncal --layers = fe
expect "" qncal 2024
expect "--holidays --help" qncal --h
# --holidays takes a file: the files of the folder are offered.
folder=$(mktemp -d)
touch "$folder/cn-holidays.csv" "$folder/other.txt"
expect "$folder/cn-holidays.csv" qncal --holidays "$folder/cn"
expect "$folder/cn-holidays.csv" qncal --holidays = "$folder/cn"
rm -r "$folder"

if ((failures)); then
  echo "$failures failed"
  exit 1
fi
echo "man page and completion: all checks passed"
