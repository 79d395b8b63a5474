#!/usr/bin/env python3
"""The standard dialogs speak Chinese, whatever the desktop's locale (the
notebook runs here under LANG=C.UTF-8): the export's save dialog, the font
dialog and the colour dialog carry Qt's Chinese titles, never the English
ones. Each is closed again with Escape.
"""

import sys

sys.dont_write_bytecode = True
import qnharness as qn  # noqa: E402

FONT_ICON_AT = (317 + 8, 58 + 8)    # imgFont in the toolbar
COLOUR_ICON_AT = (441 + 8, 61 + 5)  # imgRedColor in the toolbar

# (how the dialog is opened, its Chinese title, the English title it must not have)
DIALOGS = [
    ("export", "另存为", "Save As"),
    ("font", "选择字体", "Select Font"),
    ("colour", "选择颜色", "Select Color"),
]


def english_windows(s):
    english = {title for _, _, title in DIALOGS}
    return [w for w in s.all_visible_windows()
            if any(f'"{title}"' in s.window_property(w, "_NET_WM_NAME") for title in english)]


def open_dialog(s, window, how):
    if how == "export":
        s.open_settings_item(window, 1)
        return
    # The font and colour commands act on the box that has the keyboard.
    s.click_in(window, *s.box_point(1))
    s.click_in(window, *(FONT_ICON_AT if how == "font" else COLOUR_ICON_AT))


def scenario(s):
    window = s.start_main()
    for how, title, english in DIALOGS:
        open_dialog(s, window, how)
        dialog = s.wait_window(title, focused=True)
        qn.check(not english_windows(s), f"an English dialog ({english}) is shown")
        x, y, w, h = s.geometry(dialog)
        s.xdotool("mousemove", x + w // 2, y + 10)
        s.key("Escape")
        s.wait_no_window(title)


if __name__ == "__main__":
    sys.exit(qn.run(scenario))
