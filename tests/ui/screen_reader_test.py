#!/usr/bin/python3
"""The window as a screen reader reaches it: through AT-SPI, with pyatspi, on a virtual display.

Run inside a D-Bus session of its own (dbus-run-session), which starts the accessibility bus on
demand. Usage: screen_reader_test.py PROGRAM
"""
import os
import random
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

PROGRAM = sys.argv[1]
FAILURES = []


def check(condition, what):
    print(("ok      " if condition else "FAILED  ") + what, flush=True)
    if not condition:
        FAILURES.append(what)


def pump(seconds):
    """Lets AT-SPI deliver its events for a while."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def wait_for(find, seconds=20):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = find()
        if found:
            return found
        pump(0.1)
    return None


def descendants(node):
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield child
            yield from descendants(child)


def named(root, name, role=None):
    for node in descendants(root):
        if node.name == name and (role is None or node.getRole() == role):
            return node
    return None


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.name == "Tallow":
            return app
    return None


def file_dialog(app):
    """The file dialog, which is a dialog as the main window is."""
    return next((node for node in descendants(app)
                 if node.getRole() == pyatspi.ROLE_DIALOG and node.name != "Tallow Ver2"), None)


def enabled(node):
    return node.getState().contains(pyatspi.STATE_ENABLED)


def press(node):
    node.queryAction().doAction(0)


def main():
    home = tempfile.mkdtemp()
    os.makedirs(os.path.join(home, "Documents", "Merrow", "TallowKit", "temp"))
    # The completion message shows: both boxes ticked at the last Exit.
    with open(os.path.join(home, "Documents", "Merrow", "TallowKit", "temp", "Radix2A.tmp"),
              "wb") as file:
        file.write(b"1\r\n1")
    numbers = os.path.join(home, "numbers.txt")
    with open(numbers, "wb") as file:
        file.write(b"5\r\n3\r\n")
    display = ":%d" % random.randint(600, 900)
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"])
    time.sleep(1)
    environment = dict(os.environ, HOME=home, DISPLAY=display, XDG_RUNTIME_DIR=home,
                       QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    program = subprocess.Popen([PROGRAM], env=environment, stderr=subprocess.DEVNULL)
    events = []
    listener = lambda event: events.append((event.type, event.source.name))
    try:
        app = wait_for(application)
        check(app is not None, "the program is on the accessibility bus")
        if app is None:
            return
        window = wait_for(lambda: named(app, "Tallow Ver2"))
        for name in ["正数の１０進数を入力して下さい。", "ファイルの内容", "処理結果", "２進数の変換結果",
                     "ファイルを選択"]:
            check(named(window, name) is not None, "a control is named " + name)
        path = named(window, "本ソフトウェアのフルパスです。プロセス起動する場合に使用して下さい。",
                     pyatspi.ROLE_TEXT)
        check(path is not None and path.getState().contains(pyatspi.STATE_READ_ONLY)
              and not path.getState().contains(pyatspi.STATE_EDITABLE),
              "the program's path is read-only, not editable")

        for name, role, key in [("正数の１０進数を入力して下さい。", pyatspi.ROLE_TEXT, "Alt+N"),
                                ("終了", pyatspi.ROLE_PUSH_BUTTON, "Alt+X"),
                                ("自動処理を行う", pyatspi.ROLE_CHECK_BOX, "Alt+A"),
                                ("処理結果", pyatspi.ROLE_TEXT, "Alt+R")]:
            binding = named(window, name, role).queryAction().getKeyBinding(0)
            check(binding == key, "%s's key binding is %s, got %r" % (name, key, binding))

        press(named(window, "一時停止", pyatspi.ROLE_PUSH_BUTTON))
        pump(0.5)
        check(enabled(named(window, "終了", pyatspi.ROLE_PUSH_BUTTON))
              and named(window, "再開") is None, "a press on the hidden Pause changes nothing")

        pyatspi.Registry.registerEventListener(listener, "object:text-changed:insert",
                                               "object:text-selection-changed")
        press(named(window, "ファイルを選択", pyatspi.ROLE_PUSH_BUTTON))
        dialog = wait_for(lambda: file_dialog(app))
        check(dialog is not None, "the browse button's press returns and its dialog opens")
        if dialog is None:
            return
        name_field = next(node for node in descendants(dialog)
                          if node.getRole() == pyatspi.ROLE_TEXT
                          and node.getState().contains(pyatspi.STATE_EDITABLE))
        name_field.queryEditableText().setTextContents(numbers)
        press(next(node for node in descendants(dialog)
                   if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.name == "Open"))
        wait_for(lambda: file_dialog(app) is None)
        press(named(window, "ファイル読込", pyatspi.ROLE_PUSH_BUTTON))
        box = named(window, "ファイルの内容", pyatspi.ROLE_TEXT)
        text = wait_for(lambda: box.queryText().getText(0, -1) or None)
        check(text == "5\r\n3\r\n", "the file box reads the loaded text, got %r" % text)
        check(wait_for(lambda: ("object:text-changed:insert", "ファイルの内容") in events, 10),
              "the file box announced its new text")
        box.queryText().setSelection(0, 0, 6)
        check(wait_for(lambda: ("object:text-selection-changed", "ファイルの内容") in events, 10),
              "the file box announced its selection")

        press(named(window, "ファイルデータを変換", pyatspi.ROLE_PUSH_BUTTON))
        done = wait_for(lambda: named(app, "処理を完了しました。", pyatspi.ROLE_LABEL))
        check(done is not None, "the run ends with its message")
        started = time.monotonic()
        press(named(window, "終了", pyatspi.ROLE_PUSH_BUTTON))
        try:
            status = program.wait(timeout=10)
        except subprocess.TimeoutExpired:
            status = None
        check(status == 0, "Exit pressed while the message is up ends the program, in %.2f s"
              % (time.monotonic() - started))
    finally:
        program.kill()
        xvfb.kill()
        program.wait()
        xvfb.wait()


if __name__ == "__main__":
    main()
    print("screen reader checks failed: %d" % len(FAILURES))
    sys.exit(1 if FAILURES else 0)
