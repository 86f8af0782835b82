#!/usr/bin/python3
"""The browser build in headless Chromium, offline, played with keys, gamepads and the mouse.

    browser_test.py SITE GAMEDIR PROBE HEADLESS_RUN SIM

SITE is build-web/, GAMEDIR holds data/, the data set packed into the site; PROBE is e2e-probe,
which says what the screen must show, computed from that data set; HEADLESS_RUN is
plonkix-headless, whose first frame of the menu's choice the canvas must equal; SIM is
plonkix-sim, which checks a replay.

Served from this machine, with stored high-score lists of low entries, a stored options file of
the wrong size and 100 stored replays that are not replays (which the page must pass over): skip
the intro, the menu frame, drop speed changed on the options screen, a single-human match played
to its end that enters the lists and keeps its replay (the oldest stored one goes), the after-game
pages; then a reload in the same browser profile finds the option, the entry and the replay kept,
and the replay, fetched through the page, reproduces its match natively. Two pads are plugged in
(a test double of the Gamepad API): they work the menus and options, and in a match of two
humans the pad player 2 chose moves only player 2's pair, player 1's mouse only player 1's, the
pad pauses the match, and once it is unplugged a third pad waiting takes its place and quits
the match, which enters nothing. A page without storage plays on what it has in memory; and the
console holds no error.
"""
import base64
import functools
import http.server
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

CHROMIUM_FLAGS = ("--headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
                  "--disable-background-networking --disable-component-update --disable-sync "
                  "--window-size=1024,700").split()
STORAGE = "plonkix"         # the IndexedDB database the page keeps the saved files in
STORAGE_VERSION = 1
STORAGE_STORE = "files"
SCREEN_RGB_BYTES = 640 * 400 * 3
MENU_ROWS = (25, 75, 125, 200, 250, 300, 375)
OPTION_ROWS = tuple(79 + 22 * r for r in range(7)) + tuple(255 + 22 * r for r in range(7))
LOW_SCORES = [10 - rank for rank in range(1, 10)]  # rank 8 holds 2: any real result beats it
# Stored replays of names the game gives, oldest first, whose bytes are no replay.
JUNK_REPLAYS = ["replays/20000101-000000-%03d.plx" % i for i in range(100)]
# Buttons of the standard mapping.
PAD_A, PAD_B, PAD_START, PAD_UP, PAD_DOWN, PAD_LEFT, PAD_RIGHT = 0, 1, 9, 12, 13, 14, 15

# Set up before the page's own code: a Gamepad API of test pads the test plugs in and holds, and
# Pointer Lock refused at the first request (as without a recent click or key), granted after.
TEST_DOUBLES = """
  (function() {
    var pads = [null, null, null, null];
    function pad(index, mapping) {
      var buttons = [];
      for (var i = 0; i < 17; ++i) buttons.push({pressed: false, touched: false, value: 0});
      return {index: index, id: 'test pad ' + index, connected: true, mapping: mapping,
              axes: [0, 0, 0, 0], buttons: buttons, timestamp: 0};
    }
    window.testPads = {
      plug: function(index, mapping) {
        pads[index] = pad(index, mapping);
        window.dispatchEvent(new Event('gamepadconnected'));
      },
      unplug: function(index) {
        var e = new Event('gamepaddisconnected');
        e.gamepad = pads[index];
        pads[index] = null;
        window.dispatchEvent(e);
      },
      hold: function(index, axes, buttons) {
        var old = pads[index], now = pad(index, old.mapping);
        now.axes = axes.concat([0, 0]);
        buttons.forEach(function(b) { now.buttons[b] = {pressed: true, touched: true, value: 1}; });
        pads[index] = now;
      },
    };
    Navigator.prototype.getGamepads = function() { return pads.slice(); };
    var requestLock = Element.prototype.requestPointerLock, refusals = 1;
    Element.prototype.requestPointerLock = function() {
      if (refusals-- > 0) return Promise.reject(new DOMException('not now', 'NotAllowedError'));
      return requestLock.apply(this, arguments);
    };
  })();"""


class Failure(Exception):
    pass


def low_lists():
    """A 380-byte high-score file whose entries every real match beats."""
    name = struct.pack("<II8s", 5, 3, b"low")
    table = name * 9 + struct.pack("<9I", *LOW_SCORES) + bytes(18) + bytes(2)
    table += name * 9 + bytes(36)
    assert len(table) == 380
    return table


def killer_kings(table):
    """[(name, score)] of the nine killer kings in a high-score file."""
    ranks = []
    for r in range(9):
        _, length, chars = struct.unpack_from("<II8s", table, 16 * r)
        score, = struct.unpack_from("<I", table, 144 + 4 * r)
        ranks.append((chars[:min(length, 5)].decode("latin-1"), score))
    return ranks


class Site:
    """build-web/ served on a free local port, plus an empty page of the same origin."""

    def __init__(self, root):
        class Handler(http.server.SimpleHTTPRequestHandler):
            extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                              ".wasm": "application/wasm", ".js": "text/javascript"}

            def do_GET(self):
                if self.path == "/blank.html":
                    body = b"<!doctype html><title>blank</title><link rel=icon href='data:,'>"
                    self.send_response(200)
                    self.send_header("Content-Type", "text/html")
                    self.send_header("Content-Length", str(len(body)))
                    self.end_headers()
                    self.wfile.write(body)
                    return
                super().do_GET()

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(Handler, directory=root))
        self.url = "http://127.0.0.1:%d/" % self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def close(self):
        self.server.shutdown()


class Browser:
    def __init__(self, game_dir, probe, work):
        options = webdriver.ChromeOptions()
        for flag in CHROMIUM_FLAGS:
            options.add_argument(flag)
        options.add_argument("--user-data-dir=" + os.path.join(work, "profile"))
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.game_dir, self.probe, self.work = game_dir, probe, work
        self.console = []

    def quit(self):
        self.driver.quit()

    def press(self, key, hold=0.15):
        ActionChains(self.driver).key_down(key).pause(hold).key_up(key).perform()
        time.sleep(0.15)

    def hold(self, key, down):
        chain = ActionChains(self.driver)
        (chain.key_down if down else chain.key_up)(key).perform()

    def screen(self):
        """The canvas as 640 x 400 RGB."""
        data = self.driver.execute_script("""
            var rgba = document.getElementById('screen').getContext('2d')
                .getImageData(0, 0, 640, 400).data;
            var text = '';
            for (var i = 0; i < rgba.length; i += 4)
              text += String.fromCharCode(rgba[i], rgba[i + 1], rgba[i + 2]);
            return btoa(text);""")
        rgb = base64.b64decode(data)
        with open(os.path.join(self.work, "shot.rgb"), "wb") as f:
            f.write(rgb)
        return rgb

    def shows(self, *checks):
        self.screen()
        return subprocess.run([self.probe, self.game_dir, "check",
                               os.path.join(self.work, "shot.rgb"), *checks],
                              capture_output=True).returncode == 0

    def expect(self, seconds, *checks):
        deadline = time.time() + seconds
        while not self.shows(*checks):
            if time.time() > deadline:
                raise Failure("the page did not show: " + " ".join(checks))
            time.sleep(0.2)

    def pad(self, index, axes=(0, 0), buttons=()):
        """Test pad index held so from now on."""
        self.driver.execute_script("testPads.hold(arguments[0], arguments[1], arguments[2])",
                                   index, list(axes), list(buttons))

    def pad_press(self, index, axes=(0, 0), buttons=(), hold=0.15):
        self.pad(index, axes, buttons)
        time.sleep(hold)
        self.pad(index)
        time.sleep(0.15)

    def move_marker(self, target, rows, step=None):
        """Up and Down (step(+1 or -1) instead of the keys) until the menu markers stand at row
        target (keys are read every 98 ms, so a press may count once or twice: look and
        correct)."""
        step = step or (lambda way: self.press(Keys.DOWN if way > 0 else Keys.UP, 0.07))
        at = target
        for _ in range(40):
            # The rows nearest to where the markers stood last are looked at first.
            near = sorted(rows, key=lambda y: abs(rows.index(y) - rows.index(at)))
            seen = next((y for y in near if self.shows("marker:%d:22" % y)), None)
            if seen == target:
                return
            if seen is not None:
                at = seen
                step(1 if rows.index(at) < rows.index(target) else -1)
            time.sleep(0.1)
        raise Failure("the menu markers did not reach row %d" % target)

    def choose(self, check, change):
        """change() until the screen shows check (a press may count twice: look each time)."""
        for _ in range(8):
            if self.shows(check):
                return
            change()
            time.sleep(0.2)
        self.expect(1, check)

    def pointer_locked(self):
        return self.driver.execute_script(
            "return document.pointerLockElement === document.getElementById('screen')")

    def nudge(self, dx, times):
        """The mouse moved dx page pixels, times over, about once per input step (28 ms): the game
        reads it at its next input step and puts the pointer back."""
        for _ in range(times):
            ActionChains(self.driver, duration=0).move_by_offset(dx, 0).perform()
            time.sleep(0.02)

    def storage_keys(self, prefix):
        """The keys of the page's IndexedDB that start with prefix, in order."""
        return self.driver.execute_async_script("""
            var prefix = arguments[0], done = arguments[1];
            var request = indexedDB.open('%s', %d);
            request.onerror = function() { done('cannot open the storage'); };
            request.onsuccess = function() {
              var db = request.result;
              var r = db.transaction(['%s'], 'readonly').objectStore('%s')
                  .getAllKeys(IDBKeyRange.bound(prefix, prefix + '\\uffff'));
              r.onsuccess = function() { db.close(); done(r.result); };
            };""" % (STORAGE, STORAGE_VERSION, STORAGE_STORE, STORAGE_STORE), prefix)

    def storage(self, key, value=None):
        """Reads (value None) or writes one file kept in the page's IndexedDB."""
        return self.driver.execute_async_script("""
            var key = arguments[0], value = arguments[1], done = arguments[2];
            var request = indexedDB.open('%s', %d);
            request.onupgradeneeded = function() { request.result.createObjectStore('%s'); };
            request.onerror = function() { done('cannot open the storage'); };
            request.onsuccess = function() {
              var db = request.result;
              var mode = value ? 'readwrite' : 'readonly';
              var store = db.transaction(['%s'], mode).objectStore('%s');
              var r = value ? store.put(new Uint8Array(value), key) : store.get(key);
              r.onsuccess = function() {
                db.close();
                done(value ? true : (r.result ? Array.from(r.result) : null));
              };
              r.onerror = function() { db.close(); done('storage request failed'); };
            };""" % (STORAGE, STORAGE_VERSION, STORAGE_STORE, STORAGE_STORE, STORAGE_STORE),
            key, list(value) if value else None)

    def collect_console(self):
        self.console += self.driver.get_log("browser")

    def reach_menu(self, expected):
        """Keys through the intro and the menu's build-up until the menu's choice shows; the
        canvas must then equal the native game's first frame of the choice."""
        for _ in range(14):
            if self.screen() == expected:
                return
            self.press(Keys.SPACE)
            time.sleep(1.0)
        rgb = self.screen()
        differ = sum(1 for i in range(0, SCREEN_RGB_BYTES, 3) if rgb[i:i + 3] != expected[i:i + 3])
        raise Failure("the menu's choice on the canvas differs from the native frame in %d "
                      "pixels" % differ)


def step(text):
    print("-- " + text, flush=True)


def main():
    if len(sys.argv) != 6:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    site_dir, game_dir, probe, headless_run, sim = sys.argv[1:]
    game_dir = os.path.abspath(game_dir)
    work = tempfile.mkdtemp(prefix="plonkix-web-")
    shots = os.environ.get("PLONKIX_WEB_SHOTS", os.path.join(tempfile.gettempdir(),
                                                             "plonkix-web-shots"))
    site = Site(site_dir)
    browser = None
    try:
        step("the native game's first frame of the menu's choice (headless backend)")
        native = os.path.join(work, "native")
        shutil.copytree(game_dir, native)
        subprocess.run([os.path.abspath(headless_run), "--no-audio", "--menu-frame",
                        os.path.join(work, "menu.rgb")], cwd=native, check=True,
                       stdout=subprocess.DEVNULL)
        with open(os.path.join(work, "menu.rgb"), "rb") as f:
            menu = f.read()
        shipped = subprocess.run([probe, game_dir, "config", "data/plonkix.cfg"],
                                 capture_output=True, text=True, check=True).stdout
        player = shipped.split("name=")[1].split()[0]

        step("stored lists of low entries, 100 stored replays that are none, then the page")
        browser = Browser(game_dir, probe, work)
        browser.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                       {"source": TEST_DOUBLES})
        browser.driver.get(site.url + "blank.html")
        browser.storage("plonkix.hig", low_lists())
        browser.storage("plonkix.cfg", b"bad")  # a stored file of the wrong size is passed over
        for key in JUNK_REPLAYS:
            browser.storage(key, b"junk")
        opened = time.time()
        browser.driver.get(site.url)

        step("intro skipped with keys; the menu equals the native frame")
        browser.reach_menu(menu)
        print("   menu on the canvas after %.1f s, pixel for pixel" % (time.time() - opened))
        browser.collect_console()
        if not any("plonkix.cfg holds 3 bytes" in e["message"] for e in browser.console):
            raise Failure("no note that the stored plonkix.cfg of 3 bytes was passed over")
        if not any("100 stored file(s) of data/replays left out" in e["message"]
                   for e in browser.console):
            raise Failure("no note that the 100 stored replays that are none were left out")

        step("options: player 1's drop speed 1 -> 2")
        browser.move_marker(250, MENU_ROWS)
        browser.press(Keys.RETURN)
        browser.expect(5, "text:4:320:13:.._the_options_..:22", "text:4:500:79:1:22")
        browser.press(Keys.RIGHT)
        browser.expect(3, "text:4:500:79:2:22")
        browser.press(Keys.ESCAPE)
        browser.reach_menu(menu)

        step("single human, played to the end with the drop key held")
        browser.press(Keys.RETURN)
        browser.expect(10, "text:1:262:230:%s:23" % player)
        browser.hold("d", True)
        browser.expect(240, "text:3:320:20:killer_kings:02")
        browser.hold("d", False)
        kept = browser.storage("plonkix.hig")
        if not isinstance(kept, list):
            raise Failure("no high-score lists in the browser's storage: %s" % kept)
        kings = killer_kings(bytes(kept))
        print("   kept lists: rank 1 %s %d, rank 9 %s %d" % (*kings[0], *kings[8]))
        if kings[0][0] != player or kings[0][1] <= LOW_SCORES[7]:
            raise Failure("the match did not enter %s at rank 1: %s" % (player, kings[0]))
        if [s for _, s in kings[1:]] != LOW_SCORES[:8]:
            raise Failure("the old entries did not move down one rank: %s" % kings)
        entry = "text:4:320:62:1.%s__%010d_pts.:02" % (player, kings[0][1])
        browser.expect(3, entry)
        replays = browser.storage_keys("replays/")
        if len(replays) != 100 or replays[0] != JUNK_REPLAYS[1] or replays[-1] in JUNK_REPLAYS:
            raise Failure("the stored replays are not the newest 100 with the match's: %s ... %s"
                          % (replays[:2], replays[-2:]))
        browser.press(Keys.SPACE)
        browser.expect(6, "text:3:320:20:combo_demons:02")
        browser.press(Keys.SPACE)
        browser.collect_console()

        step("reload: the option, the entry and the replay are kept; the replay reproduces")
        browser.driver.refresh()
        browser.reach_menu(menu)
        browser.collect_console()
        if not any("99 stored file(s) of data/replays left out" in e["message"]
                   for e in browser.console):
            raise Failure("the match's replay was not put back with the stored ones left out")
        replay = browser.driver.execute_async_script("""
            var done = arguments[0];
            lastReplay().then(function(r) { done(r && [r.name, Array.from(r.bytes)]); },
                              function(e) { done(String(e)); });""")
        if not isinstance(replay, list) or "replays/" + replay[0] != replays[-1]:
            raise Failure("the page's last replay is not the match's: %s" % str(replay)[:80])
        if browser.driver.execute_script("return document.getElementById('replay').hidden"):
            raise Failure("the page offers no replay to download")
        replay_file = os.path.join(work, replay[0])
        with open(replay_file, "wb") as f:
            f.write(bytes(replay[1]))
        checked = subprocess.run([sim, "--replay", replay_file], capture_output=True, text=True)
        print("   " + checked.stdout.strip().replace(work + "/", ""))
        if checked.returncode != 0 or ": reproduced: scores %d/" % kings[0][1] not in checked.stdout:
            raise Failure("the kept replay does not reproduce the match natively: %s %s"
                          % (checked.stdout, checked.stderr))
        browser.move_marker(250, MENU_ROWS)
        browser.press(Keys.RETURN)
        browser.expect(5, "text:4:500:79:2:22")
        browser.press(Keys.ESCAPE)
        browser.reach_menu(menu)
        stored = browser.storage("plonkix.hig")

        step("two pads plugged in: the second (no standard mapping) and the first work the "
             "menu and options: player 1 on the mouse at drop speed 1 and mouse delay 5, player 2 "
             "on joypad1")
        browser.driver.execute_script("testPads.plug(0, 'standard'); testPads.plug(1, '');")
        browser.move_marker(250, MENU_ROWS,
                            lambda way: browser.pad_press(1, axes=(0, way), hold=0.07))
        browser.pad_press(1, buttons=[0])  # A
        browser.expect(5, "text:4:320:13:.._the_options_..:22", "text:4:500:79:2:22")
        browser.pad_press(0, buttons=[PAD_LEFT])
        browser.expect(3, "text:4:500:79:1:22")
        pad_step = lambda way: browser.pad_press(0, buttons=[PAD_DOWN if way > 0 else PAD_UP],
                                                 hold=0.07)
        browser.move_marker(167, OPTION_ROWS, pad_step)
        browser.choose("text:4:500:167:mouse:22",
                       lambda: browser.pad_press(0, buttons=[PAD_LEFT], hold=0.07))
        browser.move_marker(211, OPTION_ROWS, pad_step)
        browser.pad_press(0, buttons=[PAD_LEFT], hold=2)  # the mouse delay down to 5
        browser.expect(2, "text:4:500:211:5:22")
        browser.move_marker(343, OPTION_ROWS, pad_step)
        browser.choose("text:4:500:343:joypad1:22",
                       lambda: browser.pad_press(0, buttons=[PAD_RIGHT], hold=0.07))
        browser.pad_press(0, buttons=[PAD_B])
        browser.reach_menu(menu)

        step("2 humans: the mouse moves and turns player 1's pair (the pointer lock refused at "
             "first, granted on the click), joypad1 player 2's, joypad2 nothing; Start pauses; "
             "unplugged, a third pad waiting takes joypad1 and its A quits; nothing enters the "
             "lists")
        ActionChains(browser.driver, duration=0).move_to_element(
            browser.driver.find_element("id", "screen")).perform()
        browser.move_marker(125, MENU_ROWS, pad_step)
        browser.pad_press(0, buttons=[PAD_A])
        browser.expect(10, "pair:1:3", "pair:2:3")
        if browser.pointer_locked():
            raise Failure("the pointer is locked though the browser refused")
        browser.nudge(-10, 40)  # 10 page pixels are 7 of the picture: beyond the mouse delay 5
        browser.expect(2, "pair:1:0", "pair:2:3")
        ActionChains(browser.driver, duration=0).click_and_hold().pause(0.1).release().perform()
        browser.expect(2, "pair:1:0,1", "pair:2:3")
        if not browser.pointer_locked():
            raise Failure("the click did not ask for the pointer lock again")
        browser.nudge(10, 40)
        browser.expect(2, "pair:1:4,5")
        browser.pad(0, axes=(1, 0))
        browser.expect(2, "pair:2:5")
        browser.pad(0)
        browser.pad(1, axes=(-1, 0), buttons=[0, 1])
        time.sleep(0.6)
        browser.expect(1, "pair:1:4,5", "pair:2:5")
        browser.pad(1)
        browser.pad_press(0, buttons=[PAD_START])
        browser.expect(3, "text:0:320:314:paused:23")
        # A third pad waits for a free slot: it becomes joypad1 when the first is unplugged.
        browser.driver.execute_script("testPads.plug(2, 'standard'); testPads.unplug(0);")
        browser.pad_press(2, buttons=[PAD_A])
        browser.expect(8, "text:1:118:240:maximum_combo_0_hits:23")
        time.sleep(4)  # the results take no key before their shortest time
        browser.pad_press(2, buttons=[PAD_A])
        browser.expect(6, "text:3:320:20:killer_kings:02")
        browser.expect(3, entry)
        if browser.storage("plonkix.hig") != stored:
            raise Failure("a match quit early changed the kept lists")
        browser.pad_press(2, buttons=[PAD_A])
        browser.expect(6, "text:3:320:20:combo_demons:02")
        browser.pad_press(2, buttons=[PAD_A])

        step("a page without storage: the game plays on what it has in memory")
        browser.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
            Object.defineProperty(window, 'indexedDB', {get: function() {
              throw new DOMException('storage denied', 'SecurityError'); }});"""})
        browser.collect_console()
        browser.driver.refresh()
        browser.reach_menu(menu)
        browser.move_marker(250, MENU_ROWS)
        browser.press(Keys.RETURN)
        browser.expect(5, "text:4:500:79:1:22")
        browser.press(Keys.RIGHT)
        browser.press(Keys.ESCAPE)
        browser.reach_menu(menu)
        browser.move_marker(250, MENU_ROWS)
        browser.press(Keys.RETURN)
        browser.expect(5, "text:4:500:79:2:22")
        browser.collect_console()
        if not any("refused data/plonkix.cfg" in e["message"] for e in browser.console):
            raise Failure("no note that the options could not be kept")

        browser.collect_console()
        errors = [e["message"] for e in browser.console if e["level"] == "SEVERE"]
        if errors:
            raise Failure("errors in the browser console:\n   " + "\n   ".join(errors))
        print("browser: 1 passed, 0 failed")
        return 0
    except Failure as failure:
        print("FAIL: %s" % failure)
        if browser:
            os.makedirs(shots, exist_ok=True)
            browser.driver.save_screenshot(os.path.join(shots, "failure.png"))
            print("page at the failure: %s" % os.path.join(shots, "failure.png"))
            browser.collect_console()
            for e in browser.console:
                print("   console %s: %s" % (e["level"], e["message"]))
        return 1
    finally:
        if browser:
            browser.quit()
        site.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
