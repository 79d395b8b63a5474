#!/usr/bin/env python3
"""Takes the picture of the search window shown in the README (not a test).

Starts the notebook once to make its notes file, writes a few days of notes
into it as another program would, starts the notebook again, opens the
search with Ctrl+F, pastes 开会 into the field and saves the screen as PNG
(needs xwd, netpbm and xclip).

Usage: take_search_screenshot.py PATH/TO/qnweeknote OUTPUT.png
"""

import os
import sqlite3
import sys
import time

sys.dont_write_bytecode = True
import qnharness as qn  # noqa: E402

NOTES = {
    "20250616": "上午九点部门开会，讨论第三季度计划\n下午给客户回电话",
    "20250612": "和李老师约好周五下午开会，准备材料",
    "20250607": "周末爬山，晚上家庭聚餐\n周日整理照片",
    "20250603": "项目进度开会：接口改到下周\n记得买菜",
    "20250526": "体检（上午空腹）",
    "20250521": "开会记录已发邮件，Meeting notes OK",
    "20250514": "读书一小时；晚上跑步五公里",
    "20250508": "年度总结开会，领导提了三点意见",
    "20250430": "五一放假前最后一次开会",
    "20250422": "去银行办理业务，顺便交水电费",
}


def rtf_of(text):
    """The note as RTF, every character outside ASCII as \\uN?."""
    body = []
    for line_number, line in enumerate(text.split("\n")):
        if line_number:
            body.append("\\par ")
        for c in line:
            code = ord(c)
            if code < 128 and c not in "\\{}":
                body.append(c)
            else:
                body.append(f"\\u{code if code < 32768 else code - 65536}?")
    return ("{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
            "\\uc1\\pard\\lang2052\\f0\\fs18 " + "".join(body) + "\\par\n}").encode("ascii")


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    output = os.path.abspath(sys.argv.pop())

    def scenario(s):
        # The first start makes the notes file; the notes come in beside it.
        window = s.start_main()
        s.stop_app()
        s.wait_no_window(qn.MAIN_TITLE)
        connection = sqlite3.connect(s.data_file("UserData.mdb"), timeout=5)
        with connection:
            connection.executemany(
                "INSERT INTO tb_NewQN (YearMonthStr, Content, ContentBak) VALUES (?, ?, ?)",
                [(key, rtf_of(text), text.replace("\n", "\r\n")) for key, text in NOTES.items()])
        connection.close()

        window = s.start_main()
        s.click_in(window, *s.box_point(1))
        s.key("ctrl+f")
        search = s.wait_window("搜索笔记", focused=True)
        s.paste_text("开会")
        # The list is drawn once the days are found.
        time.sleep(1.5)
        x, y, w, h = s.geometry(search)
        s.move_mouse(x + w + 40, y + h + 40)
        time.sleep(0.5)
        s.screenshot(output, search)

    scenario.__name__ = "search-screenshot"
    return qn.run(scenario)


if __name__ == "__main__":
    sys.exit(main())
