#!/usr/bin/env python3
"""An installed tree works on its own.

Installs the build into a temporary prefix and checks that:
- bin/ holds qnweeknote, qncal and the web pages; share/ holds the launcher
  file, the icons in every size and AppStream data that the validator
  accepts;
- the installed notebook starts under Xvfb, keeps its Data/ beside itself
  (a writable folder is portable), shows its start page in the web panel,
  opens its own help page, carries the launcher's window class and the
  window icon, and its standard dialogs speak Chinese (Qt's catalogue
  qtbase_zh_CN, from qt6-translations-l10n);
- a user who cannot write the folder gets the user data folder instead
  (checked as the unprivileged user "nobody");
- qncal runs from there.

Usage: installed_tree.py BUILD_DIR CMAKE
"""

import configparser
import os
import pwd
import shutil
import subprocess
import sys

sys.dont_write_bytecode = True
import qnharness as qn  # noqa: E402

APP_ID = "org.qnweeknote.QNWeekNote"
ICON_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
FAKE_OPENER = """#!/bin/sh
# Stands in for the desktop's opener: records what it was asked to open.
printf '%s\\n' "$@" >> "$QN_OPENED_LOG"
"""


def install(s, build_dir, cmake):
    prefix = os.path.join(s.root, "prefix")
    result = subprocess.run([cmake, "--install", build_dir, "--prefix", prefix], capture_output=True,
                            timeout=120)
    qn.check(result.returncode == 0, "cmake --install failed:\n" + result.stdout.decode(errors="replace") +
             result.stderr.decode(errors="replace"))
    return prefix


def check_files(prefix):
    wanted = ["bin/qnweeknote", "bin/qncal", "bin/web/rs/QN4.htm", "bin/web/help4/qn1.htm",
              "bin/web/help4/qn2.htm", f"share/applications/{APP_ID}.desktop",
              f"share/metainfo/{APP_ID}.metainfo.xml", f"share/icons/hicolor/scalable/apps/{APP_ID}.svg"]
    wanted += [f"share/icons/hicolor/{n}x{n}/apps/{APP_ID}.png" for n in ICON_SIZES]
    missing = [path for path in wanted if not os.path.isfile(os.path.join(prefix, path))]
    qn.check(not missing, f"not installed: {missing}")
    for size in ICON_SIZES:
        with open(os.path.join(prefix, f"share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png"), "rb") as f:
            head = f.read(24)
        qn.check(head[:8] == b"\x89PNG\r\n\x1a\n", f"the {size} icon is no PNG")
        width, height = int.from_bytes(head[16:20], "big"), int.from_bytes(head[20:24], "big")
        qn.check((width, height) == (size, size), f"the {size} icon is {width} x {height}")

    desktop = configparser.ConfigParser(interpolation=None, strict=True)
    desktop.optionxform = str
    desktop.read(os.path.join(prefix, f"share/applications/{APP_ID}.desktop"), encoding="utf-8")
    entry = desktop["Desktop Entry"]
    qn.check(entry.get("Name[zh_CN]") == "QN周记事本", f"Name[zh_CN] is {entry.get('Name[zh_CN]')!r}")
    for key in ("Name", "Comment", "Exec", "Icon", "StartupWMClass"):
        qn.check(entry.get(key), f"the launcher file has no {key}")
    qn.check(entry.get("Categories") == "Office;Calendar;", f"Categories is {entry.get('Categories')!r}")
    qn.check(entry.get("Icon") == APP_ID, "the launcher names another icon")
    qn.check(os.path.isfile(os.path.join(prefix, "bin", entry.get("Exec").split()[0])),
             "the launcher's Exec is not an installed program")

    validator = shutil.which("appstreamcli")
    qn.check(validator is not None, "appstreamcli is not installed (scripts/install-deps.sh installs it)")
    result = subprocess.run([validator, "validate-tree", "--no-net", prefix], capture_output=True, timeout=120)
    qn.check(result.returncode == 0, "appstreamcli validate-tree:\n" + result.stdout.decode(errors="replace"))
    return entry.get("StartupWMClass")


def check_qncal(prefix):
    result = subprocess.run([os.path.join(prefix, "bin", "qncal"), "2010", "6"], capture_output=True,
                            timeout=qn.STEP_TIMEOUT)
    out = result.stdout.decode(errors="replace")
    qn.check(result.returncode == 0 and "2010年6月" in out and "端午节" in out,
             f"qncal from the installed tree printed:\n{out}")


def help_text(command, env):
    result = subprocess.run(command + ["--help"], env=env, capture_output=True, timeout=qn.STEP_TIMEOUT)
    qn.check(result.returncode == 0, f"--help ended with {result.returncode}")
    return result.stdout.decode(errors="replace")


def check_portable_copy(s, prefix, window_class):
    binary = os.path.join(prefix, "bin", "qnweeknote")
    bin_folder = os.path.join(prefix, "bin") + "/"
    text = help_text([binary], s.environment())
    qn.check(f"(program folder in use): {bin_folder}\n" in text, f"--help of a portable copy says:\n{text}")

    # Opening a page hands it to the desktop's opener: a stand-in records it.
    tools = os.path.join(s.root, "tools")
    os.makedirs(tools)
    opener = os.path.join(tools, "xdg-open")
    with open(opener, "w") as f:
        f.write(FAKE_OPENER)
    os.chmod(opener, 0o755)
    opened_log = os.path.join(s.root, "opened.log")
    environment = s.environment

    def with_opener():
        env = environment()
        env["PATH"] = tools + os.pathsep + env["PATH"]
        env["QN_OPENED_LOG"] = opened_log
        return env

    s.environment = with_opener
    s.binary = binary
    s.start_app(folder=False)
    window = s.wait_window(qn.MAIN_TITLE)
    qn.wait_for("the main window at its size", lambda: s.geometry(window)[2] >= 906)
    qn.wait_for("Data/ beside the installed program",
                lambda: os.path.isfile(os.path.join(bin_folder, "Data", "UserData.mdb")))

    wm_class = s.window_property(window, "WM_CLASS")
    qn.check(f'"{window_class}"' in wm_class, f"the launcher's StartupWMClass {window_class} is not the window's "
                                             f"class: {wm_class}")
    qn.check("_NET_WM_ICON(CARDINAL)" in s.window_property(window, "_NET_WM_ICON"), "the window has no icon")

    # The start page lies in bin/web: the web panel under the calendar shows
    # its text (dark ink on white), not an empty panel.
    image = qn.wait_for("the start page in the web panel",
                        lambda: (lambda im: im if qn.ink_in(im, 2 + 10, 80 + 253 + 5, 290, 60) > 0.01 else None)(
                            s.window_image(window)))
    # The Chinese texts of the window are drawn with real glyphs.
    qn.check(qn.ink_in(image, 343, 19, 150, 16) > 0.02, "the date label draws nothing")

    # Qt's own dialogs in Chinese: the export's save dialog.
    s.open_settings_item(window, 1)
    dialog = s.wait_window("另存为", focused=True)
    x, y, w, _ = s.geometry(dialog)
    s.xdotool("mousemove", x + w // 2, y + 10)
    s.key("Escape")
    s.wait_no_window("另存为")

    s.open_settings_item(window, 7)  # 导出, 搜索, 导出笔记, 恢复备份, 背景透明度, 登陆密码, 帮助说明
    opened = qn.wait_for("the help page handed to the opener",
                         lambda: os.path.exists(opened_log) and open(opened_log).read().split())
    page = "file://" + os.path.join(bin_folder, "web", "help4", "qn1.htm")
    qn.check(opened == [page], f"the help page opened is {opened}, expected {page}")
    s.stop_app()
    s.environment = environment


def check_fonts():
    result = subprocess.run(["fc-list", ":lang=zh", "family"], capture_output=True, timeout=qn.STEP_TIMEOUT)
    qn.check("Noto Sans CJK SC" in result.stdout.decode(errors="replace"),
             "the Chinese fonts the notebook draws with (Noto CJK) are missing")


def check_translations():
    """Qt's Chinese catalogue, which the notebook loads for the standard dialogs."""
    folder = "/usr/share/qt6/translations"
    qtpaths = shutil.which("qtpaths6")
    if qtpaths:
        result = subprocess.run([qtpaths, "--query", "QT_INSTALL_TRANSLATIONS"], capture_output=True,
                                timeout=qn.STEP_TIMEOUT)
        folder = result.stdout.decode(errors="replace").strip() or folder
    qn.check(os.path.isfile(os.path.join(folder, "qtbase_zh_CN.qm")),
             f"Qt's Chinese texts (qtbase_zh_CN.qm) are missing in {folder} (qt6-translations-l10n)")


def check_installed_for_others(s, prefix):
    """As a user who cannot write bin/, the notes go to the user's data folder."""
    # As root every folder is writable: the check runs as "nobody" then.
    # Any other user is kept out of bin/ by its permission bits.
    is_root = os.geteuid() == 0
    if is_root:
        setpriv = shutil.which("setpriv")
        qn.check(setpriv is not None, "setpriv is not installed")
        nobody = pwd.getpwnam("nobody")
    else:
        nobody = pwd.getpwuid(os.geteuid())
    for path in (s.root, prefix):
        os.chmod(path, 0o755)
    os.chmod(os.path.join(prefix, "bin"), 0o755 if is_root else 0o555)
    # The tree keeps no Data/ of a portable run, which the user could not write anyway.
    shutil.rmtree(os.path.join(prefix, "bin", "Data"), ignore_errors=True)
    home = os.path.join(s.root, "nobody-home")
    os.makedirs(home)
    if is_root:
        os.chown(home, nobody.pw_uid, nobody.pw_gid)
    env = {"PATH": "/usr/bin:/bin", "HOME": home, "QT_QPA_PLATFORM": "offscreen", "LANG": "C.UTF-8",
           "XDG_RUNTIME_DIR": home}
    as_nobody = [setpriv, f"--reuid={nobody.pw_uid}", f"--regid={nobody.pw_gid}", "--clear-groups", "--"] \
        if is_root else []
    binary = os.path.join(prefix, "bin", "qnweeknote")
    user_folder = os.path.join(home, ".local", "share", "qnweeknote") + "/"
    text = help_text(as_nobody + [binary], env)
    qn.check(f"(program folder in use): {user_folder}\n" in text, f"--help of an installed copy says:\n{text}")

    process = subprocess.Popen(as_nobody + [binary], env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        qn.wait_for("the notes in the user's data folder",
                    lambda: os.path.isfile(os.path.join(user_folder, "Data", "UserData.mdb")))
        qn.check(process.poll() is None, "the installed copy ended at start")
    finally:
        qn._end_group(process)
    qn.check(not os.path.exists(os.path.join(prefix, "bin", "Data")), "the installed copy wrote beside itself")
    # The user data folder is the user's own.
    qn.check(os.stat(os.path.join(user_folder, "Data")).st_uid == nobody.pw_uid, "Data/ not owned by the user")
    os.chmod(os.path.join(prefix, "bin"), 0o755)  # so the temporary tree can be removed


def main():
    if len(sys.argv) != 3:
        print("usage: installed_tree.py BUILD_DIR CMAKE", file=sys.stderr)
        return 2
    build_dir, cmake = sys.argv[1:]

    def scenario(s):
        prefix = install(s, build_dir, cmake)
        window_class = check_files(prefix)
        check_qncal(prefix)
        check_fonts()
        check_translations()
        check_portable_copy(s, prefix, window_class)
        check_installed_for_others(s, prefix)

    sys.argv = [sys.argv[0], os.path.join(build_dir, "bin", "qnweeknote")]
    scenario.__name__ = "installed_tree"
    # Under /tmp, which every user may pass through, so that "nobody" reaches
    # the installed tree whatever $TMPDIR is.
    return qn.run(scenario, temp_parent="/tmp")


if __name__ == "__main__":
    sys.exit(main())
