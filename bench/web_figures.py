#!/usr/bin/python3
"""Figures of the browser build in headless Chromium, offline: the size of the site, the time from
opening the page to its first picture, and the game's ticks per second over a demo match.

    bench/web_figures.py [SITE [SECONDS]]      (defaults: build-web 20)

With PLONKIX_WEB_SHOT=FILE.png the page at the end of the measurement is saved there.
"""
import functools
import http.server
import os
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains

FLAGS = ("--headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
         "--disable-background-networking --disable-component-update --disable-sync "
         "--window-size=1024,700").split()


def main():
    site = sys.argv[1] if len(sys.argv) > 1 else "build-web"
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 20.0
    size = sum(os.path.getsize(os.path.join(site, f)) for f in os.listdir(site))
    print("site: %.2f MB (%s)" % (size / 1e6, ", ".join(
        "%s %d kB" % (f, os.path.getsize(os.path.join(site, f)) // 1000)
        for f in sorted(os.listdir(site)))))

    class Quiet(http.server.SimpleHTTPRequestHandler):
        extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                          ".wasm": "application/wasm"}

        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(Quiet, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    options = webdriver.ChromeOptions()
    for flag in FLAGS + ["--user-data-dir=" + tempfile.mkdtemp()]:
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        driver.get("http://127.0.0.1:%d/" % server.server_address[1])
        for _ in range(50):
            first = driver.execute_script(
                "var m = performance.getEntriesByName('plonkix-first-picture');"
                "return m.length ? m[0].startTime : null;")
            if first is not None:
                break
            time.sleep(0.1)
        print("first picture: %.0f ms after the page was opened" % first)

        # D as any key ends the intro's pictures and the menu's build-up, starts the demo from
        # the menu's choice, and changes nothing in the demo match.
        for _ in range(9):
            ActionChains(driver).key_down("d").pause(0.15).key_up("d").perform()
            time.sleep(1.2)
        time.sleep(3)  # the fade-in and start sequence of the match

        def ticks():
            return driver.execute_script(
                "return [Module._plonkix_web_ticks(), performance.now()];")

        t0, w0 = ticks()
        time.sleep(seconds)
        t1, w1 = ticks()
        print("demo match: %d ticks in %.1f s = %.1f ticks/s (the game's pace is 71.4)" %
              (t1 - t0, (w1 - w0) / 1000, (t1 - t0) * 1000 / (w1 - w0)))
        if os.environ.get("PLONKIX_WEB_SHOT"):
            driver.save_screenshot(os.environ["PLONKIX_WEB_SHOT"])
    finally:
        driver.quit()
        server.shutdown()


if __name__ == "__main__":
    main()
