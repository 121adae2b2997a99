#!/usr/bin/env python3
"""Plays Beamworks at random for as long as asked, on a virtual display, and fails on the first
crash, sanitizer report, freeze, leak or blank picture.

Called by tools/soak.sh, which builds the game first:
    soak.py --game-dir DIR [--seed N] [--asan] MINUTES [LEVEL]

A run can be replayed: it prints its random seed before anything else, and --seed with that
number sends the inputs again in the same order. The monkey mostly plays (it picks elements,
turns, shifts and carries them while the laser is on) and now and then reaches for the other
controls: level keys, undo and redo, hints, help, colour labels, the display switch and window
resizes. It never presses ESC nor the exit switch. The game's memory and frame count are read
every 10 s, and a screenshot of the scene between the bars is checked every 30 s.
"""

import argparse
import collections
import os
import random
import re
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import time

SANITIZER_REPORT = re.compile(r"ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:")
FREEZE_SECONDS = 15
SAMPLE_SECONDS = 10
PICTURE_SECONDS = 30
RSS_SETTLE_SECONDS = 120
# The memory at a moment is the median of the samples of the minute from it (after two minutes)
# or up to it (at the end): within a level it swings by tens of MB as levels, models and
# contexts come and go, and one sample would judge a swing, not a growth.
RSS_WINDOW_SECONDS = 60
BAR = 100  # the interface's bars, rows at the top and the bottom


class Failure(Exception):
    pass


class Display:
    """A private Xvfb server."""

    def __init__(self, width=1024, height=768):
        read, write = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read, 1)
            if not chunk:
                break
            number += chunk
        os.close(read)
        self.name = ":" + number.decode().strip()

    def stop(self):
        self.process.terminate()
        self.process.wait()


class Game:
    def __init__(self, game_dir, level, display, data_home, asan):
        self.log_path = os.path.join(data_home, "game.log")
        env = dict(os.environ, DISPLAY=display.name, XDG_DATA_HOME=data_home,
                   XDG_CONFIG_HOME=data_home)
        # Mesa keeps some allocations to the end: the soak looks at the memory over time instead.
        # A small quarantine and freed memory given back to the system keep the sanitizer's own
        # memory out of that measure: its default quarantine fills for many minutes as levels
        # come and go, which looked like a leak.
        env["ASAN_OPTIONS"] = ("detect_leaks=0:abort_on_error=1:quarantine_size_mb=32:"
                               "allocator_release_to_os_interval_ms=1000")
        env["UBSAN_OPTIONS"] = "print_stacktrace=1:halt_on_error=1"
        env.pop("BEAMWORKS_FRAMES", None)
        env.pop("BEAMWORKS_SCREENSHOT", None)
        self.log = open(self.log_path, "wb")
        self.process = subprocess.Popen(["./beamworks", "-level", level], cwd=game_dir, env=env,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        self.asan = asan

    def output(self):
        with open(self.log_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def frames(self, text):
        return text.count("\r")

    def rss_mb(self):
        try:
            with open(f"/proc/{self.process.pid}/status") as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        return int(line.split()[1]) / 1024.0
        except OSError:
            pass
        return 0.0


def xdotool(display, args, timeout=30):
    result = subprocess.run(["xdotool"] + args, env=dict(os.environ, DISPLAY=display.name),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            timeout=timeout)
    return result.returncode == 0


def scene_colours(display, width, height):
    """Distinct colours (in steps of 8) between the bars, from a dump of the screen."""
    dump = subprocess.run(["xwd", "-root", "-silent"], env=dict(os.environ, DISPLAY=display.name),
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=30).stdout
    if len(dump) < 100:
        return -1
    (header_size, _, _, depth, w, h, _, byte_order, _, _, _, bits_per_pixel, line_bytes, _,
     _, _, _, _, colours, _, _, _, _, _, _) = struct.unpack(">25I", dump[:100])
    offset = header_size + 12 * colours
    if bits_per_pixel != 32:
        return -1
    seen = set()
    for y in range(BAR, min(height, h) - BAR, 7):
        row = offset + y * line_bytes
        for x in range(0, min(width, w), 7):
            p = row + 4 * x
            b, g, r = (dump[p], dump[p + 1], dump[p + 2]) if byte_order == 0 else \
                (dump[p + 3], dump[p + 2], dump[p + 1])
            seen.add((r >> 3, g >> 3, b >> 3))
    return len(seen)


# --- the monkey -------------------------------------------------------------------------------

# Keys a player presses once, with their weights; held keys and mouse actions are below.
KEYS = [
    ("space", 14), ("bracketleft", 6), ("bracketright", 6), ("semicolon", 3), ("apostrophe", 3),
    ("shift+bracketright", 2), ("ctrl+z", 4), ("BackSpace", 2), ("ctrl+y", 2),
    ("ctrl+shift+z", 1), ("h", 2), ("c", 2), ("F1", 2), ("Home", 3), ("z", 2), ("b", 2),
    ("Return", 1), ("numbersign", 2), ("F2", 1), ("F3", 1), ("F4", 1), ("F5", 1), ("F8", 1),
    ("F9", 1), ("F10", 1), ("F11", 1), ("m", 1), ("n", 2), ("p", 2), ("r", 2), ("Next", 1),
    ("Prior", 1), ("Tab", 2), ("shift+Tab", 1), ("t", 2), ("Up", 1), ("Down", 1), ("Left", 1),
    ("Right", 1), ("8", 1), ("2", 1),
]
HELD_KEYS = ["w", "s", "a", "d", "e", "q", "o", "l", "Up", "Down", "Left", "Right", "minus",
             "period", "shift+Up", "shift+Left", "4", "6", "8", "2"]


class Monkey:
    def __init__(self, seed, display):
        self.random = random.Random(seed)
        self.display = display
        self.width, self.height = 1024, 768
        self.history = collections.deque(maxlen=50)
        self.inputs = 0
        self.switches = 0

    def scene_point(self):
        r = self.random
        return (int(r.triangular(0, self.width, self.width / 2)),
                int(r.triangular(BAR, self.height - BAR, self.height / 2)))

    def send(self, description, args):
        self.history.append(description)
        self.inputs += 1
        xdotool(self.display, args)

    def focus(self):
        xdotool(self.display, ["search", "--name", "^Beamworks$", "windowfocus"])

    def act(self):
        r = self.random
        kind = r.choices(
            ["click", "drag", "view", "key", "held", "wheel", "carry", "bars", "switch", "resize",
             "settings"],
            weights=[18, 16, 8, 34, 10, 4, 4, 4, 1, 1, 1])[0]
        if kind == "click":
            x, y = self.scene_point()
            self.send(f"click {x} {y}", ["mousemove", str(x), str(y), "click", "1"])
        elif kind == "drag":
            x, y = self.scene_point()
            steps = []
            for _ in range(r.randint(2, 6)):
                steps += ["mousemove_relative", "--", str(r.randint(-40, 40)),
                          str(r.randint(-25, 25)), "sleep", "0.1"]
            # Some with Ctrl held: the turn snaps to whole steps.
            hold, release = ((["keydown", "ctrl"], ["keyup", "ctrl"]) if r.random() < 0.3
                             else ([], []))
            self.send(f"drag from {x} {y}" + (" with Ctrl" if hold else ""),
                      hold + ["mousemove", str(x), str(y), "mousedown", "1", "sleep", "0.2"] +
                      steps + ["mouseup", "1"] + release)
        elif kind == "view":
            x, y = self.scene_point()
            dx, dy = r.randint(-60, 60), r.randint(-30, 30)
            self.send(f"view turn {dx} {dy}",
                      ["mousemove", str(x), str(y), "mousedown", "3", "sleep", "0.2",
                       "mousemove_relative", "--", str(dx), str(dy), "sleep", "0.2", "mouseup",
                       "3"])
        elif kind == "settings":
            # The settings over the level, a line or two down and back, closed with their key.
            steps = []
            for _ in range(r.randint(0, 3)):
                steps += ["key", r.choice(["Down", "Up", "Home"]), "sleep", "0.2"]
            self.send("settings", ["key", "F12", "sleep", "0.3"] + steps + ["key", "F12"])
        elif kind == "key":
            key = r.choices([k for k, _ in KEYS], weights=[w for _, w in KEYS])[0]
            self.send(f"key {key}", ["key", key])
        elif kind == "held":
            key = r.choice(HELD_KEYS)
            seconds = f"{r.uniform(0.1, 1.0):.2f}"
            self.send(f"hold {key} {seconds} s", ["keydown", key, "sleep", seconds, "keyup", key])
        elif kind == "wheel":
            button = r.choice(["4", "5"])
            count = str(r.randint(1, 4))
            self.send(f"wheel {button} x{count}", ["click", "--repeat", count, button])
        elif kind == "carry":
            x, y = self.scene_point()
            x2, y2 = self.scene_point()
            self.send(f"carry {x} {y} to {x2} {y2}",
                      ["mousemove", str(x), str(y), "click", "1", "sleep", "0.6", "click",
                       "--repeat", "2", "--delay", "80", "1", "sleep", "0.5", "mousemove",
                       str(x2), str(y2), "sleep", "0.8", "click", "1"])
        elif kind == "bars":
            # The switches and bands of the interface, clicked and double-clicked; never the
            # exit switch (at the right of the bottom row).
            x = r.randint(0, self.width - 1)
            y = r.choice([r.randint(0, 60), r.randint(self.height - 55, self.height - 1)])
            if y > self.height / 2 and abs(x - (self.width / 2 + 280)) < 60:
                x = r.randint(0, self.width // 3)
            repeat = r.choice(["1", "1", "2"])
            self.send(f"bar click {x} {y} x{repeat}",
                      ["mousemove", str(x), str(y), "click", "--repeat", repeat, "--delay", "80",
                       "1"])
        elif kind == "switch":
            self.switches += 1
            self.send("display switch (f)", ["key", "f"])
            time.sleep(2.0)
            self.focus()
        elif kind == "resize":
            w, h = r.randint(960, 1024), r.randint(600, 768)
            self.width, self.height = w, h
            self.send(f"resize {w} {h}", ["search", "--name", "^Beamworks$", "windowsize",
                                           str(w), str(h)])
            self.focus()
        time.sleep(r.uniform(0.05, 0.4))


def soak(args):
    seed = args.seed if args.seed is not None else random.SystemRandom().randrange(1 << 31)
    print(f"soak: seed {seed}", flush=True)
    data_home = tempfile.mkdtemp(prefix="beamworks-soak-")
    display = Display()
    game = Game(args.game_dir, args.level, display, data_home, args.asan)
    monkey = Monkey(seed, display)
    start = time.monotonic()
    end = start + args.minutes * 60
    rss = []  # (seconds since the start, MB)
    last_frames, last_frame_change = -1, time.monotonic()
    last_sample = last_picture = start
    blank_checks = 0
    try:
        if not xdotool(display, ["search", "--sync", "--name", "^Beamworks$", "windowfocus",
                                 "--sync"], timeout=120):
            raise Failure("the game's window never appeared")
        while time.monotonic() < end:
            monkey.act()
            now = time.monotonic()
            text = game.output()
            if game.process.poll() is not None:
                raise Failure(f"the game ended with status {game.process.returncode}")
            if SANITIZER_REPORT.search(text):
                raise Failure("a sanitizer report")
            frames = game.frames(text)
            if frames != last_frames:
                last_frames, last_frame_change = frames, now
            elif now - last_frame_change > FREEZE_SECONDS:
                raise Failure(f"no new frame for {FREEZE_SECONDS} s")
            if now - last_sample >= SAMPLE_SECONDS:
                last_sample = now
                rss.append((now - start, game.rss_mb()))
            if now - last_picture >= PICTURE_SECONDS:
                last_picture = now
                colours = scene_colours(display, monkey.width, monkey.height)
                blank_checks = blank_checks + 1 if 0 <= colours <= 1 else 0
                if blank_checks >= 2:
                    raise Failure("the picture between the bars is one colour in two checks")
        elapsed = time.monotonic() - start
        rss.append((elapsed, game.rss_mb()))
        if elapsed >= RSS_SETTLE_SECONDS + RSS_WINDOW_SECONDS:
            settled = statistics.median(
                mb for at, mb in rss
                if RSS_SETTLE_SECONDS <= at < RSS_SETTLE_SECONDS + RSS_WINDOW_SECONDS)
            last = statistics.median(mb for at, mb in rss if at >= elapsed - RSS_WINDOW_SECONDS)
            allowed = max(settled * 0.10, 20.0)
            if last - settled > allowed:
                raise Failure(f"resident memory grew from {settled:.0f} MB after two minutes "
                              f"to {last:.0f} MB in the last minute")
        # The end: a Shift press closes an introduction that may be open, then ESC; a carry by
        # keys still going takes one ESC first.
        xdotool(display, ["search", "--name", "^Beamworks$", "windowfocus"])
        xdotool(display, ["key", "shift", "Escape"])
        try:
            status = game.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            xdotool(display, ["key", "Escape"])
        try:
            status = game.process.wait(timeout=60)
        except subprocess.TimeoutExpired:
            game.process.kill()
            raise Failure("ESC did not end the game within 60 s")
        text = game.output()
        if SANITIZER_REPORT.search(text):
            raise Failure("a sanitizer report")
        if status != 0:
            raise Failure(f"the game ended with status {status} after ESC")
        loads = text.count("\nLevel: ") - 1
        switches = text.count("OpenGL Version") - 1
        print(f"soak: {args.minutes:g} min, {monkey.inputs} inputs, {loads} level loads, "
              f"{switches} display switches, RSS {rss[0][1]:.0f}/{rss[-1][1]:.0f} MB, OK",
              flush=True)
        return 0
    except (Failure, subprocess.TimeoutExpired) as failure:
        print(f"soak: FAILED (seed {seed}): {failure}", flush=True)
        print("soak: the last inputs, oldest first:", flush=True)
        for line in monkey.history:
            print(f"  {line}", flush=True)
        text = game.output()
        tail = text.replace("\r", "\n").splitlines()
        print("soak: the game's last lines:", flush=True)
        for line in [l for l in tail if not l.startswith("FPS:")][-40:]:
            print(f"  {line}", flush=True)
        kept = os.path.join(tempfile.gettempdir(), f"beamworks-soak-{seed}.log")
        shutil.copy(game.log_path, kept)
        print(f"soak: the whole log is in {kept}", flush=True)
        return 1
    finally:
        if game.process.poll() is None:
            game.process.kill()
            game.process.wait()
        game.log.close()
        display.stop()
        shutil.rmtree(data_home, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--game-dir", required=True)
    parser.add_argument("--seed", type=int)
    parser.add_argument("--asan", action="store_true")
    parser.add_argument("minutes", type=float)
    parser.add_argument("level", nargs="?", default="1")
    # A soak stopped from outside (kill, a CI time-out) still stops its game and display.
    signal.signal(signal.SIGTERM, lambda number, frame: sys.exit(128 + number))
    sys.exit(soak(parser.parse_args()))


if __name__ == "__main__":
    main()
