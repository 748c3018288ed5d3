#!/usr/bin/env python3
"""The phone remote in a real browser: Vellor runs with its remote on, headless
chromium opens the page with the token, presses Start, Pause/Resume and Stop,
and the program's state (asked of /api/state) and the page both follow.

Usage: phone_page_test.py <vellor executable> [folder for phone-sized screenshots]
Exits 77, which CTest counts as skipped, where chromium cannot run."""

import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

SKIPPED = 77


def skip(reason):
    print(f"SKIPPED: {reason}")
    return SKIPPED


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_until(condition, what, seconds=15):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            if condition():
                return
        except Exception:  # not up yet, or the page is between two states
            pass
        time.sleep(0.1)
    raise AssertionError(f"timed out waiting for {what}")


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.options import Options
        from selenium.webdriver.chrome.service import Service
        from selenium.webdriver.common.by import By
    except ImportError:
        return skip("python3-selenium is not installed")
    chromium, driver = shutil.which("chromium"), shutil.which("chromedriver")
    if not chromium or not driver:
        return skip("chromium or chromium-driver is not installed")
    shots = sys.argv[2] if len(sys.argv) > 2 else None

    with tempfile.TemporaryDirectory() as folder:
        # Settings live beside the executable, so the program gets a folder of its own.
        program = os.path.join(folder, "vellor")
        shutil.copy(sys.argv[1], program)
        script = os.path.join(folder, "talk.txt")
        with open(script, "w") as text:
            text.writelines(f"Line {n} of the talk\n" for n in range(1, 61))
        port, token = free_port(), os.urandom(16).hex()
        with open(os.path.join(folder, "vellor.ini"), "w") as ini:
            ini.write(f"[Settings]\r\nMRF={script}\r\nScrollSpeed=3000\r\n"
                      f"[Remote]\r\nEnabled=1\r\nPort={port}\r\nToken={token}\r\n")

        def ask(path, body=None):
            request = urllib.request.Request(f"http://127.0.0.1:{port}{path}", data=body,
                                             headers={"Authorization": f"Bearer {token}"})
            with urllib.request.urlopen(request, timeout=5) as answer:
                return json.load(answer)

        def state():
            return ask("/api/state")

        def command(name):
            return ask("/api/command", json.dumps({"command": name}).encode())

        environment = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        vellor = subprocess.Popen([program], cwd=folder, env=environment)
        try:
            wait_until(lambda: state()["running"] is False, "Vellor's remote control")
            options = Options()
            options.binary_location = chromium
            for argument in ("--headless=new", "--no-sandbox", "--disable-gpu",
                             "--disable-dev-shm-usage", "--window-size=390,844"):
                options.add_argument(argument)
            try:
                browser = webdriver.Chrome(service=Service(driver), options=options)
            except Exception as error:  # no display libraries, no sandbox, ...
                return skip(f"chromium cannot start here: {str(error).splitlines()[0]}")
            try:
                def shown(element_id):
                    return browser.find_element(By.ID, element_id).text

                def press(element_id):
                    browser.find_element(By.ID, element_id).click()

                browser.get(f"http://127.0.0.1:{port}/#token={token}")
                wait_until(lambda: shown("link") == "connected", "the page's WebSocket")
                assert shown("script") == "talk.txt", shown("script")
                # With no run, the biggest key starts one and the run's keys are greyed out.
                assert shown("toggle") == "Start", shown("toggle")
                assert not browser.find_element(By.ID, "stop").is_enabled()

                press("start")
                wait_until(lambda: state()["running"] and shown("running") == "Running",
                           "the run to start")
                assert state()["paused"] and shown("paused") == "Paused"

                press("toggle")
                wait_until(lambda: not state()["paused"] and shown("paused") == "Moving",
                           "the run to move")
                wait_until(lambda: state()["elapsedSeconds"] >= 0, "the state")
                wait_until(lambda: "rows/s" in shown("speed"), "the speed in rows a second")
                if shots:
                    os.makedirs(shots, exist_ok=True)
                    for name, width, height in (("portrait", 390, 844), ("landscape", 844, 390)):
                        browser.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                            "width": width, "height": height, "deviceScaleFactor": 2,
                            "mobile": True})
                        time.sleep(0.3)
                        browser.save_screenshot(os.path.join(shots, f"phone-{name}.png"))

                press("toggle")
                wait_until(lambda: state()["paused"] and shown("paused") == "Paused",
                           "the run to pause")

                # A line for the presenter goes on the glass and comes off it.
                browser.find_element(By.ID, "message-text").send_keys("WRAP IN 30")
                press("message-send")
                wait_until(lambda: state()["message"] == "WRAP IN 30"
                           and shown("message-send") == "Change", "the message on the glass")
                press("message-clear")
                wait_until(lambda: state()["message"] == "", "the message to clear")
                # A story number goes to its paragraph; one past the last is refused.
                def go_to(number):
                    browser.find_element(By.ID, "story-number").send_keys(number)
                    press("go")

                go_to("1")
                wait_until(lambda: state()["paragraph"] == 1 and shown("story") == "1 of 1",
                           "the first paragraph")
                go_to("5")
                wait_until(lambda: "no paragraph 5" in shown("notice"), "the refusal of 5")

                press("stop")
                wait_until(lambda: not state()["running"] and shown("running") == "Not running",
                           "the run to stop")
                assert shown("line") == "\u2013", shown("line")

                # The answer to start tells of the run it started.
                started = command("start")
                assert started["running"] is True, started
                command("stop")
                wait_until(lambda: not state()["running"], "the second run to stop")
            finally:
                browser.quit()
        finally:
            vellor.terminate()
            vellor.wait(10)
    print("The phone page started, paused, resumed, jumped and stopped a run.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
