#!/usr/bin/env bash
# A second start with the same program folder hands over to the running
# notebook and ends at once, without a message box waiting for anyone.
set -u
exe=$1
folder=$(mktemp -d)
first=
cleanup() {
  [ -n "$first" ] && kill "$first" 2>/dev/null && wait "$first" 2>/dev/null
  rm -rf "$folder"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen

"$exe" --folder "$folder" >/dev/null 2>&1 &
first=$!
for _ in $(seq 100); do
  [ -e "$folder/Data/.qnweeknote.lock" ] && [ -e "$folder/Data/UserData.mdb" ] && break
  sleep 0.1
done
[ -e "$folder/Data/.qnweeknote.lock" ] || { echo "the first notebook did not start"; exit 1; }
sleep 0.5

timeout 10 "$exe" --folder "$folder" >/dev/null 2>&1
status=$?
[ "$status" -eq 0 ] || { echo "second start ended with status $status"; exit 1; }
kill -0 "$first" 2>/dev/null || { echo "the first notebook is gone"; exit 1; }
echo "second start handed over"
