#!/usr/bin/env bash
# The installed qncal finds the user's holiday file where the notebook keeps
# it: Data/ beside a portable copy of the program, else $XDG_DATA_HOME, else
# ~/.local/share. Every run has a home of its own in a temporary folder.
# Usage: check_holiday_file_places.sh QNCAL
set -uo pipefail
qncal=$(realpath "$1")
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A table with a notice for 2099, which the built-in table does not have.
table() {  # table FILE NAME
  mkdir -p "$(dirname "$1")"
  printf 'date,off,name,notice_year\n2099-01-01,1,%s,2099\n' "$2" >"$1"
}
statutory() {  # statutory PROGRAM ENV... : the 法定 line of 2099-01-01
  local program=$1; shift
  env -i PATH=/usr/bin:/bin "$@" "$program" --day 2099-01-01 | grep '^法定：'
}
expect() {  # expect WHAT EXPECTED GOT
  [[ $3 == "$2" ]] || fail "$1: expected '$2', got '$3'"
}

home=$tmp/home
expect "no file anywhere" "法定：    无数据" "$(statutory "$qncal" HOME="$home")"

table "$home/.local/share/qnweeknote/Data/cn-holidays.csv" 家目录
expect "the file under ~/.local/share" "法定：    家目录 休" "$(statutory "$qncal" HOME="$home")"

table "$tmp/xdg/qnweeknote/Data/cn-holidays.csv" XDG
expect "the file under \$XDG_DATA_HOME" "法定：    XDG 休" \
  "$(statutory "$qncal" HOME="$home" XDG_DATA_HOME="$tmp/xdg")"
expect "a relative \$XDG_DATA_HOME is ignored" "法定：    家目录 休" \
  "$(cd "$tmp" && statutory "$qncal" HOME="$home" XDG_DATA_HOME=xdg)"

# A portable copy: the program with Data/ beside it.
mkdir -p "$tmp/portable"
cp "$qncal" "$tmp/portable/qncal"
expect "a portable copy without its own file" "法定：    XDG 休" \
  "$(statutory "$tmp/portable/qncal" HOME="$home" XDG_DATA_HOME="$tmp/xdg")"
table "$tmp/portable/Data/cn-holidays.csv" 便携
expect "a portable copy's Data/" "法定：    便携 休" \
  "$(statutory "$tmp/portable/qncal" HOME="$home" XDG_DATA_HOME="$tmp/xdg")"

# A malformed file there: a warning, and the built-in table.
printf 'date,off,name,notice_year\n2099-13-01,1,坏,2099\n' >"$home/.local/share/qnweeknote/Data/cn-holidays.csv"
err=$(env -i PATH=/usr/bin:/bin HOME="$home" "$qncal" --day 2024-02-10 2>&1 >/dev/null)
status=$?
expect "exit status with a malformed file" 0 "$status"
[[ $err == *"已忽略"* ]] || fail "no warning about the malformed file: '$err'"
expect "the built-in table" "法定：    春节 休" \
  "$(env -i PATH=/usr/bin:/bin HOME="$home" "$qncal" --day 2024-02-10 2>/dev/null | grep '^法定：')"

if ((failures)); then
  echo "$failures failed"
  exit 1
fi
echo "holiday file places: all checks passed"
