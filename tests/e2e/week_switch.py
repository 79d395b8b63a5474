#!/usr/bin/env python3
"""Picking a day of another week in the calendar shows that week's boxes;
picking the first week again brings its notes back.

Seen twice: on the screen (Monday's box is blank or shows text) and through
the store (a box that still showed the old note would store the old text
plus the new one).
"""

import datetime
import sys

sys.dont_write_bytecode = True
import qnharness as qn  # noqa: E402

# Wednesday cells of the second and fourth rows are days of the shown month
# in every month, and lie two weeks apart.
FIRST_CELL = (4, 2)
SECOND_CELL = (4, 4)
# Share of dark pixels on the first line of a box: none when it is blank (and
# unfocused, so no caret), several per cent under a word.
BLANK = 0.003
WRITTEN = 0.03


def monday_note(s, monday):
    key = qn.day_key(monday)
    return s.notes([key]).get(key, (b"", None))[1]


def new_week(s, known):
    """The Monday of the one week whose rows appeared since `known`."""
    added = sorted(set(s.all_keys()) - set(known))
    if len(added) != 6:
        return None
    monday = datetime.datetime.strptime(added[0], "%Y%m%d").date()
    qn.check(added == qn.week_keys(monday) and monday.weekday() == 0,
             f"the new rows are not one Monday-to-Saturday week: {added}")
    return monday


def scenario(s):
    window = s.start_main()

    s.click_in(window, *s.calendar_cell_point(*FIRST_CELL))
    s.click_in(window, *s.box_point(1))
    s.type_text("alpha")
    first = qn.wait_for("the first picked week stored", lambda: new_week(s, []))
    qn.wait_for("alpha stored", lambda: monday_note(s, first) == "alpha")

    known = s.all_keys()
    s.click_in(window, *s.calendar_cell_point(*SECOND_CELL))
    qn.wait_for("Monday's box blank in the other week", lambda: s.box_ink(window) < BLANK)
    s.click_in(window, *s.box_point(1))
    s.type_text("beta")
    second = qn.wait_for("the second picked week stored", lambda: new_week(s, known))
    qn.check(second - first == datetime.timedelta(days=14),
             f"the weeks picked are {first} and {second}, expected two weeks apart")
    # An emptied box: "beta" alone, not "alphabeta".
    qn.wait_for("beta stored in the other week", lambda: monday_note(s, second) == "beta")
    qn.check(monday_note(s, first) == "alpha", "the first week's note changed while another was shown")

    # Back to the first week: its note is in the box again.
    s.click_in(window, *s.calendar_cell_point(*FIRST_CELL))
    qn.wait_for("Monday's note on screen again", lambda: s.box_ink(window) > WRITTEN)
    s.click_in(window, *s.box_point(1))
    s.key("ctrl+End")
    s.type_text("!")
    qn.wait_for("the first week's note found again", lambda: monday_note(s, first) == "alpha!")
    qn.check(monday_note(s, second) == "beta", "the second week's note changed")
    qn.check(len(s.all_keys()) == 12, f"rows stored: {s.all_keys()}")


if __name__ == "__main__":
    sys.exit(qn.run(scenario))
