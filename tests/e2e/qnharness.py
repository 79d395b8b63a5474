"""Drives the real qnweeknote under a private Xvfb display with xdotool.

Every session gets its own temporary folder (program folder, home and XDG
folders), its own X server and its own process group for the notebook, and
tears all of them down on exit, so a test never touches the user's notes and
never leaves a process behind. Every wait has a deadline.
"""

import datetime
import os
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time
import traceback

MAIN_TITLE = "QN桌面记事"
LOGIN_TITLE = "QN周记事本"

# Places inside the main window at its design size (906 x 540).
CALENDAR_AT = (2, 80)          # chnRili inside the window
GRID_AT = (8, 40)              # day grid inside the calendar (title shown)
RIGHT_PANEL_AT = (317, 80)     # pnlRight, holding the six boxes
SETTINGS_LABEL_AT = (761, 60)  # lblSet "|  选项"
CLOSE_BUTTON_AT = (873, 1)     # 39 x 20

# Every single step (one xdotool call, one wait) ends within this many seconds.
STEP_TIMEOUT = 20
# A whole scenario ends within this many seconds, whatever happens.
SCENARIO_TIMEOUT = 240


class Failure(Exception):
    pass


class ScenarioTimeout(BaseException):
    """Raised by the scenario's alarm; not an Exception, so no wait swallows it."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, timeout=STEP_TIMEOUT, interval=0.1):
    """Polls probe() until it returns something truthy; fails after timeout."""
    deadline = time.monotonic() + timeout
    last_error = None
    while time.monotonic() < deadline:
        try:
            value = probe()
            if value:
                return value
        except Exception as error:  # a file or row that is not there yet
            last_error = error
        time.sleep(interval)
    raise Failure(f"timed out waiting for {what}" + (f" (last error: {last_error})" if last_error else ""))


def settled_today():
    """Today's date, for a scenario that must agree with the notebook about it:
    near midnight it first waits for the new day (at most 90 s)."""
    now = datetime.datetime.now()
    midnight = datetime.datetime.combine(now.date() + datetime.timedelta(days=1), datetime.time())
    if midnight - now < datetime.timedelta(seconds=85):
        time.sleep((midnight - now).total_seconds() + 2)
    return datetime.date.today()


def monday_of(day):
    return day - datetime.timedelta(days=day.weekday())


def day_key(day):
    return day.strftime("%Y%m%d")


def week_keys(monday):
    """Storage keys of a week: Monday to Saturday (Sunday shares Saturday's)."""
    return [day_key(monday + datetime.timedelta(days=i)) for i in range(6)]


class Session:
    """One temporary world: a folder, an X server and at most one notebook."""

    def __init__(self, binary, name, temp_parent=None):
        self.binary = os.path.abspath(binary)
        self.name = name
        self.root = tempfile.mkdtemp(prefix=f"qn-e2e-{name}-", dir=temp_parent)
        self.folder = os.path.join(self.root, "notebook")
        self.home = os.path.join(self.root, "home")
        for path in (self.folder, self.home):
            os.makedirs(path)
        self.xvfb = None
        self.app = None
        self.display = None
        self.keep = os.environ.get("QN_E2E_KEEP") == "1"
        # Put before the notebook's command line (e.g. faketime for a fixed day).
        self.launcher = []

    # -- lifetime ---------------------------------------------------------

    def __enter__(self):
        # The alarm ends a scenario that hangs anywhere; __exit__ still runs.
        signal.signal(signal.SIGALRM, self._on_alarm)
        signal.signal(signal.SIGTERM, self._on_alarm)
        signal.alarm(SCENARIO_TIMEOUT)
        try:
            self._start_xvfb()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        signal.alarm(0)
        self.stop_app()
        self.last_output = self.app_output()
        self._stop_xvfb()
        if self.keep:
            print(f"kept {self.root}")
        else:
            shutil.rmtree(self.root, ignore_errors=True)
        return False

    @staticmethod
    def _on_alarm(signum, frame):
        raise ScenarioTimeout(f"scenario ended by signal {signum} (time limit {SCENARIO_TIMEOUT} s)")

    def _start_xvfb(self):
        check(shutil.which("Xvfb") is not None, "Xvfb is not installed")
        check(shutil.which("xdotool") is not None, "xdotool is not installed")
        # -displayfd: the server picks a free display number and tells it.
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True, preexec_fn=_die_with_parent)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + STEP_TIMEOUT
        with os.fdopen(read_end, "rb") as pipe:
            os.set_blocking(pipe.fileno(), False)
            while not number.endswith(b"\n"):
                check(time.monotonic() < deadline, "Xvfb did not report its display")
                check(self.xvfb.poll() is None, "Xvfb ended at start")
                try:
                    chunk = pipe.read()
                except BlockingIOError:
                    chunk = None
                if chunk:
                    number += chunk
                else:
                    time.sleep(0.05)
        self.display = ":" + number.decode().strip()

    def _stop_xvfb(self):
        if self.xvfb is not None:
            _end_group(self.xvfb)
            self.xvfb = None

    def environment(self):
        env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "DISPLAY": self.display,
            "QT_QPA_PLATFORM": "xcb",
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
            "XDG_RUNTIME_DIR": self.root,
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
        }
        # The notebook and the scenario must agree about today.
        if "TZ" in os.environ:
            env["TZ"] = os.environ["TZ"]
        return env

    def start_app(self, *extra, folder=True):
        args = self.launcher + [self.binary] + (["--folder", self.folder] if folder else []) + list(extra)
        self.app_log = open(os.path.join(self.root, "app.log"), "ab")
        self.app = subprocess.Popen(args, env=self.environment(), stdin=subprocess.DEVNULL,
                                    stdout=self.app_log, stderr=self.app_log, start_new_session=True,
                                    preexec_fn=_die_with_parent)
        return self.app

    def wait_app_exit(self, timeout=STEP_TIMEOUT):
        try:
            code = self.app.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the notebook did not end")
        self.app = None
        return code

    def stop_app(self):
        if self.app is not None:
            _end_group(self.app)
            self.app = None
        if getattr(self, "app_log", None):
            self.app_log.close()
            self.app_log = None

    def app_output(self):
        try:
            with open(os.path.join(self.root, "app.log"), "rb") as log:
                return log.read().decode(errors="replace")
        except OSError:
            return ""

    # -- X ------------------------------------------------------------------

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *map(str, args)], env=self.environment(), capture_output=True,
                                timeout=STEP_TIMEOUT)
        return result.returncode, result.stdout.decode(errors="replace")

    def visible_windows(self, title):
        """Ids of the shown windows whose title is exactly `title`."""
        code, out = self.xdotool("search", "--onlyvisible", "--name", f"^{title}$")
        return [int(w) for w in out.split()] if code == 0 else []

    def all_visible_windows(self):
        code, out = self.xdotool("search", "--onlyvisible", "--name", ".*")
        return [int(w) for w in out.split()] if code == 0 else []

    def wait_window(self, title, timeout=STEP_TIMEOUT, focused=False):
        """A shown window of that title; with focused, once it has the keyboard
        (keys sent before would reach the window below it)."""
        ids = wait_for(f"window '{title}'", lambda: self.visible_windows(title), timeout)
        if focused:
            wait_for(f"window '{title}' to take the keyboard",
                     lambda: self.xdotool("getwindowfocus")[1].strip() in map(str, ids), timeout)
        return ids[-1]

    def wait_no_window(self, title, timeout=STEP_TIMEOUT):
        wait_for(f"window '{title}' to close", lambda: not self.visible_windows(title), timeout)

    def geometry(self, window):
        code, out = self.xdotool("getwindowgeometry", "--shell", window)
        check(code == 0, f"no geometry for window {window}")
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def move_mouse(self, x, y):
        """Moves the pointer and returns once the X server has it there."""
        # (xdotool's own --sync waits forever when the pointer is already there.)
        self.xdotool("mousemove", x, y)
        wait_for(f"the pointer at ({x}, {y})", lambda: self.mouse_location() == (x, y))

    def mouse_location(self):
        code, out = self.xdotool("getmouselocation", "--shell")
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return (int(values["X"]), int(values["Y"])) if code == 0 and "X" in values else None

    def click(self, x, y, button=1):
        # X delivers the press after the motion and before any later key, so
        # nothing needs to wait for the click itself; what it leads to is
        # waited for by the caller.
        self.move_mouse(x, y)
        self.xdotool("click", button)

    def click_in(self, window, dx, dy):
        x, y, _, _ = self.geometry(window)
        self.click(x + dx, y + dy)

    def type_text(self, text):
        """Types one line of ASCII text key by key; a line with any other
        character goes in through the clipboard instead (paste_text), since
        xdotool drops characters it has to map onto spare keycodes when the
        machine is slow."""
        if not all(32 <= ord(c) < 127 for c in text):
            self.paste_text(text)
            return
        self.xdotool("type", "--delay", 40, text)

    def key(self, *keys):
        for k in keys:
            self.xdotool("key", k)

    # -- the clipboard --------------------------------------------------------

    def set_clipboard(self, data, target="UTF8_STRING"):
        """Offers data (str or bytes) on the CLIPBOARD selection as the given
        target (a MIME type such as text/html, or UTF8_STRING for text) and
        returns once the clipboard hands it out. xclip serves it from the
        background until another program takes the clipboard or the X server
        ends."""
        check(shutil.which("xclip") is not None, "xclip is not installed (scripts/install-deps.sh installs it)")
        if isinstance(data, str):
            data = data.encode("utf-8")
        subprocess.run(["xclip", "-selection", "clipboard", "-t", target, "-i"], input=data,
                       env=self.environment(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=STEP_TIMEOUT, check=True)

        def offered():
            result = subprocess.run(["xclip", "-selection", "clipboard", "-t", target, "-o"],
                                    env=self.environment(), capture_output=True, timeout=STEP_TIMEOUT)
            return result.returncode == 0 and result.stdout == data
        wait_for(f"the clipboard to offer {target}", offered)

    def paste_text(self, text, target="UTF8_STRING"):
        """Pastes text (any language) at the caret of the focused box, as a
        person would with the clipboard and Ctrl+V."""
        self.set_clipboard(text, target)
        self.key("ctrl+v")

    def enter_text(self, text):
        """Puts text into the focused box: ASCII typed, anything else pasted.
        Line breaks ("\n") are typed as Return."""
        for n, line in enumerate(text.split("\n")):
            if n:
                self.key("Return")
            if not line:
                continue
            self.type_text(line)

    def screenshot(self, path, window=None):
        """Saves the screen (or one window) as PNG; needs xwd and netpbm."""
        source = ["-root"] if window is None else ["-id", str(window)]
        command = " ".join(["xwd"] + source + ["-silent", "|", "xwdtopnm", "2>/dev/null",
                                              "|", "pnmtopng", ">", _quote(path)])
        subprocess.run(["sh", "-c", command], env=self.environment(), timeout=STEP_TIMEOUT, check=True)

    def window_image(self, window):
        """(width, height, RGB bytes) of a window's contents; needs xwd and netpbm."""
        result = subprocess.run(["sh", "-c", f"xwd -id {int(window)} -silent | xwdtopnm 2>/dev/null"],
                                env=self.environment(), capture_output=True, timeout=STEP_TIMEOUT)
        check(result.returncode == 0 and result.stdout.startswith(b"P6"), "no picture of the window")
        return _parse_ppm(result.stdout)

    def window_property(self, window, name):
        result = subprocess.run(["xprop", "-id", str(int(window)), name], env=self.environment(),
                                capture_output=True, timeout=STEP_TIMEOUT)
        return result.stdout.decode(errors="replace").strip()

    # -- the notebook's files -------------------------------------------------

    def data_file(self, name):
        return os.path.join(self.folder, "Data", name)

    def notes(self, keys):
        """{key: (Content bytes, ContentBak)} for the stored notes among keys."""
        path = self.data_file("UserData.mdb")
        if not os.path.exists(path):
            return {}
        connection = sqlite3.connect(f"file:{path}?mode=ro", uri=True, timeout=5)
        try:
            marks = ",".join("?" * len(keys))
            rows = connection.execute(
                f"SELECT YearMonthStr, Content, ContentBak FROM tb_NewQN WHERE YearMonthStr IN ({marks})",
                list(keys)).fetchall()
        finally:
            connection.close()
        result = {}
        for key, content, plain in rows:
            if isinstance(content, str):
                content = content.encode("latin-1", errors="replace")
            result[key] = (bytes(content or b""), plain)
        return result

    def all_keys(self):
        path = self.data_file("UserData.mdb")
        connection = sqlite3.connect(f"file:{path}?mode=ro", uri=True, timeout=5)
        try:
            return sorted(row[0] for row in connection.execute("SELECT YearMonthStr FROM tb_NewQN"))
        finally:
            connection.close()

    def read_lines(self, name):
        with open(self.data_file(name), "rb") as f:
            return f.read().decode("utf-8", errors="replace").split("\r\n")

    # -- the main window --------------------------------------------------------

    def box_point(self, box):
        """A point inside note box 1..6 (the window at its design size)."""
        width = (594 - 5) // 3
        column = (box - 1) % 3
        upper = box <= 3
        line_x = [2, (594 - 4) // 3 + 1, 2 * ((594 - 4) // 3) + 2][column]
        top = 26 if upper else (445 - 50) // 2 + 18 + 26
        return RIGHT_PANEL_AT[0] + line_x + 1 + width // 2, RIGHT_PANEL_AT[1] + top + 30

    def box_ink(self, window, box=1):
        """Share of dark pixels where the first line of a note box's text is drawn."""
        x, y = self.box_point(box)
        width = (594 - 5) // 3
        return ink_in(self.window_image(window), x - width // 2 + 4, y - 30, 90, 22)

    def calendar_cell_point(self, col, row):
        """Middle of a day cell (col 1..7, row 1..6) of the calendar grid."""
        grid_w, grid_h = 311 - 15, 253 - 67
        header, first_col = 18, 6
        h = (grid_h - header) // 6 - 1
        w = (grid_w - first_col) // 7 - 1
        x = CALENDAR_AT[0] + GRID_AT[0] + first_col + (col - 1) * w + w // 2
        y = CALENDAR_AT[1] + GRID_AT[1] + header + (row - 1) * h + h // 2
        return x, y

    def start_main(self, *extra):
        self.start_app(*extra)
        window = self.wait_window(MAIN_TITLE)
        # The first week's load happens before the window shows; it is ready
        # for the user once it has its stored size and its calendar is drawn.
        wait_for("the main window at its size", lambda: self.geometry(window)[2] >= 906)
        wait_for("the calendar drawn", lambda: self.calendar_ink(window) > 0.01)
        return window

    def calendar_ink(self, window):
        """Share of dark pixels in the calendar's day grid."""
        x, y = CALENDAR_AT[0] + GRID_AT[0], CALENDAR_AT[1] + GRID_AT[1]
        return ink_in(self.window_image(window), x, y, 280, 180)

    def open_settings_item(self, window, downs):
        """Opens the "|  选项" menu and picks the item `downs` steps down."""
        before = set(self.all_visible_windows())
        self.click_in(window, SETTINGS_LABEL_AT[0] + 14, SETTINGS_LABEL_AT[1] + 6)
        # Keys go to the menu only once it is up and holds the keyboard.
        menu = wait_for("the settings menu", lambda: set(self.all_visible_windows()) - before)
        time.sleep(0.2)
        self.key(*(["Down"] * downs), "Return")
        wait_for("the settings menu to close", lambda: not (set(self.all_visible_windows()) & menu))

    def close_by_button(self, window):
        x, y, w, _ = self.geometry(window)
        # Right-anchored: the button keeps its distance to the right edge.
        bx = x + w - (906 - CLOSE_BUTTON_AT[0]) + 19
        by = y + CLOSE_BUTTON_AT[1] + 10
        # Over the button first, so that it shows its highlight picture,
        # which is the one that takes the click.
        self.move_mouse(bx - 4, by)
        self.move_mouse(bx, by)
        self.xdotool("click", 1)


def _parse_ppm(data):
    """Splits a binary PPM (P6, maxval 255) into width, height and pixels."""
    fields = []
    at = 2
    while len(fields) < 3:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(int(data[at:end]))
        at = end
    width, height, maxval = fields
    check(maxval == 255, f"unexpected PPM depth {maxval}")
    return width, height, data[at + 1:at + 1 + width * height * 3]


def ink_in(image, left, top, width, height, darker_than=160):
    """Share of pixels in a rectangle whose every channel is darker than the limit."""
    image_width, _, pixels = image
    dark = 0
    for y in range(top, top + height):
        row = pixels[(y * image_width + left) * 3:(y * image_width + left + width) * 3]
        for i in range(0, len(row), 3):
            if row[i] < darker_than and row[i + 1] < darker_than and row[i + 2] < darker_than:
                dark += 1
    return dark / float(width * height)


def _quote(path):
    return "'" + path.replace("'", "'\\''") + "'"


def _die_with_parent():
    """Runs in a child before exec: the child is killed when this script dies,
    even by SIGKILL (a test runner's last resort), so nothing is left behind."""
    try:
        import ctypes
        libc = ctypes.CDLL(None, use_errno=True)
        PR_SET_PDEATHSIG = 1
        libc.prctl(PR_SET_PDEATHSIG, signal.SIGKILL)
    except OSError:
        pass


def _end_group(process):
    """Ends a process and everything it started (its own session)."""
    if process.poll() is not None:
        return
    try:
        os.killpg(process.pid, signal.SIGTERM)
    except ProcessLookupError:
        return
    try:
        process.wait(timeout=5)
    except subprocess.TimeoutExpired:
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        process.wait(timeout=5)


def run(scenario, temp_parent=None):
    """Entry point of a scenario script: argv[1] is the notebook's binary.
    temp_parent: where the temporary folder is made (default: $TMPDIR or /tmp)."""
    if len(sys.argv) < 2:
        print(f"usage: {sys.argv[0]} PATH/TO/qnweeknote", file=sys.stderr)
        return 2
    session = Session(sys.argv[1], scenario.__name__, temp_parent)
    try:
        with session:
            scenario(session)
    except (Exception, ScenarioTimeout) as failure:  # a Failure, or a step that went wrong another way
        if not isinstance(failure, (Failure, ScenarioTimeout)):
            traceback.print_exc()
        print(f"FAILED: {failure}", file=sys.stderr)
        output = getattr(session, "last_output", "")
        if output:
            print("--- notebook output ---\n" + output, file=sys.stderr)
        return 1
    print("passed")
    return 0
