#!/usr/bin/env python3
"""Checks qncal's calendar feed with a real iCalendar parser (the icalendar
package): 1901-2100 with every layer, one event for every lunar day, solar
term, festival, statutory day off or working day and almanac text of the
tab-separated output, each a one-day all-day event with a UID that is the
same on a second run. qncal runs with an empty home, so that it never reads
the user's own holiday file.

Usage: validate_ics.py QNCAL
Exits 77 (skipped) only when the icalendar module is not installed."""
import datetime
import os
import subprocess
import sys
import tempfile

try:
    import icalendar
except ImportError:
    print("SKIPPED: the Python module icalendar is not installed "
          "(Debian: apt-get install python3-icalendar)")
    sys.exit(77)

FROM, TO = "1901-01-01", "2100-12-31"
LAYERS = "lunar,terms,festivals,statutory,almanac"


HOME = tempfile.mkdtemp(prefix="qncal-ics-home-")


def run(qncal, *args, epoch="0"):
    env = dict(os.environ, SOURCE_DATE_EPOCH=epoch, HOME=HOME, XDG_DATA_HOME=os.path.join(HOME, "data"))
    return subprocess.run([qncal, *args], check=True, capture_output=True, env=env).stdout


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def check_lines(data):
    if not data.endswith(b"\r\n"):
        fail("the feed does not end with CR LF")
    for number, line in enumerate(data.split(b"\r\n")[:-1], 1):
        if b"\n" in line or b"\r" in line:
            fail(f"line {number} has a bare line break")
        if len(line) > 75:
            fail(f"line {number} has {len(line)} octets")
        try:
            line.decode("utf-8")
        except UnicodeDecodeError:
            fail(f"line {number} splits a UTF-8 character: {line!r}")


def expected_summaries(qncal):
    """(date, text) of every event, from the tab-separated output."""
    expected = []
    for row in run(qncal, "--tsv", FROM, TO).decode("utf-8").splitlines():
        cols = row.split("\t")
        date = datetime.date.fromisoformat(cols[0])
        leap, month_text, day_text = cols[4] == "1", cols[5], cols[6]
        lunar = ("闰" + month_text[1:] + "月" if leap else month_text) + day_text
        expected.append((date, lunar))
        for text in (cols[7], cols[8], cols[9]):  # solar term, festivals
            if text:
                expected.append((date, text))
        if cols[16]:  # "休 春节" is the event "春节 休", "班 春节" the event "春节调休 上班"
            mark, name = cols[16].split(" ", 1)
            expected.append((date, name + (" 休" if mark == "休" else "调休 上班")))
        for text in cols[17].split():  # the almanac texts, one event each
            expected.append((date, text))
    return sorted(expected)


def main():
    qncal = sys.argv[1]
    first = run(qncal, "--ics", FROM, TO, "--layers", LAYERS, epoch="1700000000")
    second = run(qncal, "--ics", FROM, TO, "--layers", LAYERS, epoch="1800000000")
    check_lines(first)

    calendar = icalendar.Calendar.from_ical(first)
    for name, value in (("VERSION", "2.0"), ("CALSCALE", "GREGORIAN")):
        if str(calendar.get(name)) != value:
            fail(f"{name} is {calendar.get(name)!r}")
    for name in ("PRODID", "X-WR-CALNAME"):
        if not str(calendar.get(name, "")):
            fail(f"no {name}")
    if getattr(calendar, "errors", None):
        fail(f"calendar errors: {calendar.errors}")

    uids, seen = [], []
    for event in calendar.walk("VEVENT"):
        if getattr(event, "errors", None):
            fail(f"event errors: {event.errors}")
        for name in ("UID", "DTSTAMP", "DTSTART", "DTEND", "SUMMARY"):
            if name not in event:
                fail(f"an event has no {name}: {event}")
        start, end = event.decoded("DTSTART"), event.decoded("DTEND")
        if isinstance(start, datetime.datetime) or not isinstance(start, datetime.date):
            fail(f"DTSTART is not a date: {start!r}")
        if end - start != datetime.timedelta(days=1):
            fail(f"{event['UID']} lasts {end - start}")
        if str(event.get("TRANSP")) != "TRANSPARENT":
            fail(f"{event['UID']} is not transparent")
        if not isinstance(event.decoded("DTSTAMP"), datetime.datetime):
            fail("DTSTAMP is not a date-time")
        uids.append(str(event["UID"]))
        seen.append((start, str(event["SUMMARY"])))

    if len(set(uids)) != len(uids):
        fail("two events share a UID")
    if sorted(seen) != expected_summaries(qncal):
        fail("the events differ from the days of --tsv")
    unfolded = second.replace(b"\r\n ", b"").decode("utf-8").split("\r\n")
    again = [line[4:] for line in unfolded if line.startswith("UID:")]
    if again != uids:
        fail("the UIDs of a second run differ")
    if first == second:
        fail("DTSTAMP does not follow the time the feed was made")
    if not any(summary.endswith(" 休") for _, summary in seen) or not any("九第" in s for _, s in seen):
        fail("the feed has no statutory or no almanac events")
    print(f"{len(uids)} events from {FROM} to {TO} parsed and checked")


try:
    main()
finally:
    os.rmdir(HOME)
