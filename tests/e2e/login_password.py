#!/usr/bin/env python3
"""A password set through the settings menu is asked for at the next start:
a wrong one (differing only in letter case) is refused, the right one lets
the user in; cancelling ends the program.
"""

import os
import sys
import time

sys.dont_write_bytecode = True
import qnharness as qn  # noqa: E402

PASSWORD = "Week7 pass"
WRONG = "week7 pass"
PWSET_TITLE = "登录密码设置"
REFUSED_TITLE = "登陆提示"
DONE_TITLE = "提示"

# Inside the password settings window (442 x 222).
CHECKBOX = (160, 62)
EDIT1 = (330, 99)
EDIT2 = (330, 135)
APPLY = (372, 186)
# Inside the login window (246 x 145): the password box.
LOGIN_EDIT = (2 + 101 + 56 + 39, 2 + 1 + 69 + 10)


def set_password(s):
    window = s.start_main()
    qn.check(not s.visible_windows(qn.LOGIN_TITLE), "a login was asked without a password")
    # The first start leaves the password file without a password, owner-only.
    lines = s.read_lines("loginstr.db")
    qn.check(lines[:3] == ["XKPWD7304186", "XKPWD7304186", "0"], f"loginstr.db holds {lines}")
    qn.check(os.stat(s.data_file("loginstr.db")).st_mode & 0o777 == 0o600, "loginstr.db is not owner-only")
    s.open_settings_item(window, 6)  # 导出, 搜索, 导出笔记, 恢复备份, 背景透明度, 登陆密码
    # The window opens at once: no error box (titled like the application).
    dialog = s.wait_window(PWSET_TITLE, focused=True)
    qn.check(not s.visible_windows(qn.LOGIN_TITLE), "the password window opened with an error box")
    s.click_in(dialog, *CHECKBOX)
    s.click_in(dialog, *EDIT1)
    s.type_text(PASSWORD)
    s.click_in(dialog, *EDIT2)
    s.type_text(PASSWORD)
    s.click_in(dialog, *APPLY)
    done = s.wait_window(DONE_TITLE, focused=True)
    s.click_in(done, 10, 10)  # the pointer over the box, so the key goes there
    s.key("Return")
    s.wait_no_window(PWSET_TITLE)
    lines = s.read_lines("loginstr.db")
    qn.check(lines[:3] == [PASSWORD, PASSWORD, "-1"], f"loginstr.db holds {lines}")
    s.stop_app()


def login(s, attempts):
    """Starts the notebook and types each attempt into the login window."""
    s.start_app()
    login_window = s.wait_window(qn.LOGIN_TITLE, focused=True)
    qn.check(not s.visible_windows(qn.MAIN_TITLE), "the main window shows before the login")
    for attempt in attempts:
        s.click_in(login_window, *LOGIN_EDIT)
        s.key("ctrl+a", "BackSpace")
        s.type_text(attempt)
        s.key("Return")
        if attempt != PASSWORD:
            refused = s.wait_window(REFUSED_TITLE, focused=True)
            qn.check(not s.visible_windows(qn.MAIN_TITLE), "a wrong password let the user in")
            s.click_in(refused, 10, 10)
            s.key("Return")
            s.wait_no_window(REFUSED_TITLE)
            qn.check(s.visible_windows(qn.LOGIN_TITLE), "the login window closed after a wrong password")
    return login_window


def scenario(s):
    set_password(s)

    login(s, [WRONG, "", PASSWORD])
    s.wait_window(qn.MAIN_TITLE)
    s.wait_no_window(qn.LOGIN_TITLE)
    s.stop_app()

    # Cancelling the login ends the program without showing the notes.
    login_window = login(s, [])
    s.click_in(login_window, 2 + 101 + 76 + 24, 2 + 1 + 104 + 11)
    code = s.wait_app_exit()
    qn.check(code == 0, f"the cancelled login ended with code {code}")


if __name__ == "__main__":
    sys.exit(qn.run(scenario))
