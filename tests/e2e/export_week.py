#!/usr/bin/env python3
"""Exporting the shown week through the settings menu writes the six boxes as
GBK text with CR LF line ends, under the typed name with ".txt" appended,
readable by the owner only. Exporting again under a name whose file exists
asks once, about that file: "no" keeps it, "yes" replaces it.
"""

import datetime
import os
import sys
import time

sys.dont_write_bytecode = True
import qnharness as qn  # noqa: E402

SAVE_TITLE = "另存为"
QUESTION_TITLE = "QN周记事本"
# Box number -> the keystrokes typed into it ("\n" is a line break).
TYPED = {
    1: "Monday: dentist 9:30",
    3: "first line\nsecond line",
    6: "周末 爬山",
}
DAY_WORDS = ["星期一 ", "星期二 ", "星期三 ", "星期四 ", "星期五 ", "星期六/日 "]
# The typed name -> the file that must appear.
NAMES = [("week", "week.txt"), ("again.txt", "again.txt.txt")]


def expected_bytes(monday):
    lines = []
    for slot in range(6):
        day = monday + datetime.timedelta(days=slot)
        lines += [DAY_WORDS[slot] + day.strftime("%Y.%m.%d"), "  "]
        lines += TYPED.get(slot + 1, "").split("\n")
        lines += ["  "]
    return "".join(line + "\r\n" for line in lines).encode("gbk")


def type_box(s, window, box, text):
    s.click_in(window, *s.box_point(box))
    for n, part in enumerate(text.split("\n")):
        if n:
            s.key("Return")
        s.type_text(part)


def export_as(s, window, path):
    s.open_settings_item(window, 1)
    dialog = s.wait_window(SAVE_TITLE, focused=True)
    x, y, w, h = s.geometry(dialog)
    s.xdotool("mousemove", x + w // 2, y + h // 2)
    s.key("ctrl+a")
    s.type_text(path)
    s.key("Return")
    s.wait_no_window(SAVE_TITLE)


def scenario(s):
    monday = qn.monday_of(qn.settled_today())
    window = s.start_main()
    keys = qn.week_keys(monday)
    for box, text in TYPED.items():
        type_box(s, window, box, text)
    qn.wait_for("the typed notes stored",
                lambda: all(s.notes(keys).get(keys[box - 1], (b"", ""))[1] == text.replace("\n", "\r\n")
                            for box, text in TYPED.items()))
    stored = s.notes(keys)

    out = os.path.join(s.root, "export")
    os.makedirs(out)
    for typed, produced in NAMES:
        export_as(s, window, os.path.join(out, typed))
        path = os.path.join(out, produced)
        data = qn.wait_for(f"{produced} written", lambda: os.path.exists(path) and open(path, "rb").read())
        want = expected_bytes(monday)
        qn.check(data == want, f"{produced} holds\n{data!r}\nexpected\n{want!r}")
        mode = os.stat(path).st_mode & 0o777
        qn.check(mode == 0o600, f"{produced} has mode {mode:o}, not owner-only")

    qn.check(sorted(os.listdir(out)) == sorted(p for _, p in NAMES), f"export folder holds {os.listdir(out)}")

    # "week" again: week.txt exists, so the notebook asks (about week.txt).
    path = os.path.join(out, "week.txt")
    with open(path, "wb") as f:
        f.write(b"older")
    for answer in ("Escape", "y"):
        export_as(s, window, os.path.join(out, "week"))
        if answer == "y":
            # The dialog opened only once the previous export had ended.
            qn.check(open(path, "rb").read() == b"older", "answering no replaced week.txt")
        question = s.wait_window(QUESTION_TITLE, focused=True)
        x, y, w, h = s.geometry(question)
        s.xdotool("mousemove", x + w // 2, y + 10)
        s.key(answer)
        s.wait_no_window(QUESTION_TITLE)
    qn.wait_for("week.txt replaced after yes", lambda: open(path, "rb").read() == expected_bytes(monday))
    qn.check(os.stat(path).st_mode & 0o777 == 0o600, "the replaced week.txt is not owner-only")
    qn.check(s.notes(keys) == stored, "exporting changed the stored notes")


if __name__ == "__main__":
    sys.exit(qn.run(scenario))
