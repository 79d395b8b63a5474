#!/usr/bin/env python3
"""Typing into Monday's box stores the whole week at once.

The week of today gets its six rows; Monday's row holds what was typed as
plain text and as RTF, the other five rows are empty notes.
"""

import datetime
import sys
import time

sys.dont_write_bytecode = True
import qnharness as qn  # noqa: E402

TYPED = "Buy rice 2kg, call Li"


def scenario(s):
    monday = qn.monday_of(qn.settled_today())
    window = s.start_main()
    keys = qn.week_keys(monday)
    qn.check(not s.notes(keys), "a fresh program folder already holds notes of this week")

    x, y = s.box_point(1)
    s.click_in(window, x, y)
    s.type_text(TYPED)

    def monday_done():
        notes = s.notes(keys)
        return notes if keys[0] in notes and notes[keys[0]][1] == TYPED else None

    notes = qn.wait_for("Monday's note in Data/UserData.mdb", monday_done)
    qn.check(sorted(notes) == keys, f"the week's rows are {sorted(notes)}, expected {keys}")
    content, plain = notes[keys[0]]
    qn.check(content.startswith(b"{\\rtf1"), f"Monday's Content is not RTF: {content[:40]!r}")
    qn.check(TYPED.encode() in content, "Monday's RTF does not hold the typed text")
    for key in keys[1:]:
        qn.check(notes[key][1] == "", f"{key} should be an empty note, holds {notes[key][1]!r}")
        qn.check(notes[key][0].startswith(b"{\\rtf1"), f"{key}'s Content is not RTF")

    # The note survives a restart: the box shows it again, and typing at its
    # end extends it rather than replacing it.
    s.stop_app()
    window = s.start_main()
    s.click_in(window, *s.box_point(1))
    s.key("ctrl+End")
    s.type_text("!")
    qn.wait_for("the note extended after a restart",
                lambda: s.notes(keys).get(keys[0], (b"", ""))[1] == TYPED + "!")


if __name__ == "__main__":
    sys.exit(qn.run(scenario))
