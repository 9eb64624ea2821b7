#!/usr/bin/python3
"""The page in a real browser: headless Chromium driven by Selenium.

Serves build/web/site from 127.0.0.1 (a free port, stopped at the end) and
opens build/web/rrensen.html from disk. The page runs the programs' own
engine (src/web/page_api_test.cc tests its API natively, against the
programs), so a check or two shows that the page's API, its fields and its
download reach it, byte for byte as the native programs write; it takes
each of filletDxf's options and reports a refused one with status 2 and a
message; walks an outline from drawn to refused and back with the
largest-size button; zooms, pans and fits; switches the language; checks
that the browser logged no error and fetched nothing but the page's own
files. A screenshot goes to the logs folder. The page's sizes and times are
measured by bench/page_bench.py, which uses these helpers.

    /usr/bin/python3 web/page_test.py --web build/web --native build/default/src --logs build/logs

Prints one line per check and "N passed, N failed" at the end.
"""

import argparse
import base64
import functools
import http.server
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

CHROME_FLAGS = ("--headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
                "--disable-background-networking --disable-component-update --disable-sync").split()

# The README's refused outline: side 4-5 is too short for size 5; from a
# size of 11 on the outline closes and draws.
REFUSED_EXCHANGE = b"hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\nhp4 0 30\r\nhp5 0 22\r\n"
# ... and at 16 the closing side is too short; 15 is its largest size.
REFUSED_AT_16 = "the side from point 4 to point 1 is 30.000 long and needs 32.000"


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, name, condition, detail=""):
        if condition:
            self.passed += 1
            print("ok     " + name, flush=True)
        else:
            self.failed += 1
            print("FAILED " + name + (": " + detail if detail else ""), flush=True)
        return condition


class Native:
    """The programs built for this machine."""

    def __init__(self, folder):
        folder = os.path.abspath(folder)
        self.rrensen = os.path.join(folder, "rrensen")
        self.dxf = os.path.join(folder, "dxf", "rrensen-dxf")

    def exchange(self, data, words):
        """KDX_TEMP.TXT after `rrensen WORDS`, and the status."""
        with tempfile.TemporaryDirectory() as folder:
            with open(os.path.join(folder, "kdx_temp.txt"), "wb") as f:
                f.write(data)
            run = subprocess.run([self.rrensen] + words, cwd=folder, capture_output=True)
            path = os.path.join(folder, "KDX_TEMP.TXT")
            output = open(path, "rb").read() if os.path.exists(path) else b""
            return output, run.returncode

    def fillet_dxf(self, path, *words):
        """What `rrensen-dxf PATH WORDS -o OUT --report REPORT` does: the file
        it writes, its status and its report."""
        with tempfile.TemporaryDirectory() as folder:
            out, report = os.path.join(folder, "out.dxf"), os.path.join(folder, "report.jsonl")
            run = subprocess.run([self.dxf, path, *words, "-o", out, "--report", report], capture_output=True)
            output = open(out, "rb").read() if os.path.exists(out) else b""
            lines = open(report).read().splitlines() if os.path.exists(report) else []
            return output, run.returncode, [json.loads(line) for line in lines if line.strip()]


def serve(site, extra):
    """A server for `site` on a free port of 127.0.0.1; /test-data/NAME is
    served from the folder `extra`."""

    class Handler(http.server.SimpleHTTPRequestHandler):
        def translate_path(self, path):
            if path.startswith("/test-data/"):
                return os.path.join(extra, os.path.basename(path.split("?")[0]))
            return super().translate_path(path)

        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def browser(download_folder):
    options = webdriver.ChromeOptions()
    for flag in CHROME_FLAGS:
        options.add_argument(flag)
    options.add_argument("--user-data-dir=" + tempfile.mkdtemp(prefix="rrensen-chromium-"))
    options.add_argument("--window-size=1280,900")
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    options.add_experimental_option("prefs", {
        "download.default_directory": download_folder,
        "download.prompt_for_download": False,
    })
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Page.setDownloadBehavior", {"behavior": "allow", "downloadPath": download_folder})
    driver.set_script_timeout(120)
    return driver


def wait_for(condition, timeout=30, step=0.02):
    end = time.time() + timeout
    while time.time() < end:
        value = condition()
        if value:
            return value
        time.sleep(step)
    return None


class Page:
    """The page open in the browser."""

    def __init__(self, driver):
        self.driver = driver
        self.logs = []

    def open(self, url):
        self.driver.get(url)
        ready = wait_for(lambda: self.driver.execute_script("return document.documentElement.dataset.ready"))
        self.collect_logs()
        return float(ready) if ready else None

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def element(self, element_id):
        return self.driver.find_element(By.ID, element_id)

    def draws(self):
        return int(self.js("return Number(document.getElementById('preview').dataset.draws || 0)"))

    def wait_redraw(self, before, timeout=60):
        return wait_for(lambda: self.draws() > before, timeout)

    def message(self):
        return self.element("message").text

    def choose(self, element_id, value):
        """Chooses `value` in a list (the example, the style, the
        language) and waits for the redraw."""
        before = self.draws()
        Select(self.element(element_id)).select_by_value(value)
        self.wait_redraw(before)

    def toggle(self, element_id):
        """Clicks a switch and waits for the redraw."""
        before = self.draws()
        self.element(element_id).click()
        self.wait_redraw(before)

    def choose_example(self, name):
        self.choose("example", name)

    def open_file(self, path, timeout=60):
        before = self.draws()
        self.element("file").send_keys(path)
        return self.wait_redraw(before, timeout)

    def type_size(self, text):
        """Types the size into the field, as a reader would."""
        self.set_field("size", text)
        wait_for(lambda: self.js("return document.getElementById('preview').dataset.drawnSize") == text, 10)

    def set_field(self, element_id, text):
        """Types `text` into a field (an empty one is cleared) and waits
        for the redraw."""
        before = self.draws()
        field = self.element(element_id)
        if field.get_attribute("value") == text:
            return
        field.send_keys(Keys.CONTROL, "a")
        field.send_keys(Keys.BACKSPACE)
        if text:
            field.send_keys(text)
        self.wait_redraw(before)

    def view_box(self):
        return self.js("const s = document.querySelector('#preview svg'); return s && s.getAttribute('viewBox')")

    def api_bytes(self, script, *args):
        """Runs `script`, which returns a Uint8Array, and gives its bytes."""
        text = self.js("const bytes = (function () {" + script + "}).apply(null, arguments);"
                       "let s = ''; for (let k = 0; k < bytes.length; k += 8192) "
                       "s += String.fromCharCode.apply(null, bytes.subarray(k, k + 8192)); return btoa(s);", *args)
        return base64.b64decode(text)

    def download(self, folder, timeout=30):
        """Clicks the download link; the file it saves."""
        for name in os.listdir(folder):
            os.remove(os.path.join(folder, name))
        self.element("download").click()

        def saved():
            names = [n for n in os.listdir(folder) if not n.endswith(".crdownload")]
            return names[0] if names else None

        name = wait_for(saved, timeout)
        if not name:
            return None, b""
        time.sleep(0.1)
        return name, open(os.path.join(folder, name), "rb").read()

    def collect_logs(self):
        self.logs += self.driver.get_log("browser")


def test_site(page, checks, native, examples_folder, downloads):
    names = page.js("return Array.from(document.querySelectorAll('#example option')).map(o => o.value)"
                    ".filter(v => v)")
    expected = sorted(n for n in os.listdir(examples_folder) if n.endswith((".txt", ".dxf")))
    checks.check("site: every example is offered", sorted(names) == expected, f"{names} vs {expected}")
    for name in names:
        path = os.path.join(examples_folder, name)
        data = open(path, "rb").read()
        page.choose_example(name)
        if not name.lower().endswith(".dxf"):
            mine = page.api_bytes("const b = Uint8Array.from(atob(arguments[0]), c => c.charCodeAt(0));"
                                  "const r = rrensen.runExchange(b, ['-c12.5']); window.lastRun = r.status;"
                                  "return r.output;", base64.b64encode(data).decode())
            theirs, status = native.exchange(data, ["-c12.5"])
            page.type_size("12.5")
            saved, downloaded = page.download(downloads)
            checks.check(f"api and download: {name} at 12.5 is rrensen's KDX_TEMP.TXT",
                         mine == theirs == downloaded and page.js("return window.lastRun") == status
                         and saved == "KDX_TEMP.TXT", f"{saved}, {len(mine)}, {len(downloaded)} bytes")
            continue
        # Each of filletDxf's options once, and a refused size: status 2 as
        # rrensen-dxf gives it.
        for options, words in [
                ({"size": 0.75}, "-c 0.75"), ({"size": 19.5, "layer": "OUTLINE"}, "-c 19.5 --layer OUTLINE"),
                ({"size": 2.5, "closeGap": 10, "style": "chamfer"}, "-c 2.5 --close-gap 10 --style chamfer"),
                ({"size": 5, "join": True, "joinGap": 0.01}, "-c 5 --join --join-gap 0.01"), ({"size": -1}, "-c -1"),
                ({"size": 1, "style": "radius", "corners": "convex"}, "-c 1 --style radius --corners convex"),
                ({"size": 6, "style": "tbone", "tboneSide": "first"}, "-c 6 --style tbone --tbone-side first"),
                ({"size": 0, "refillet": True, "rechamfer": 3}, "-c 0 --refillet --rechamfer 3")]:
            mine = page.api_bytes("const b = Uint8Array.from(atob(arguments[0]), c => c.charCodeAt(0));"
                                  "const r = rrensen.filletDxf(b, arguments[1]);"
                                  "window.lastRun = {status: r.status, report: r.report}; return r.dxf;",
                                  base64.b64encode(data).decode(), options)
            run = page.js("return window.lastRun")
            theirs, status, report = native.fillet_dxf(path, *words.split())
            checks.check(f"api: filletDxf {name} {options} is rrensen-dxf {words}",
                         mine == theirs and run["status"] == status and run["report"] == report,
                         f"status {run['status']} vs {status}, {len(mine)} vs {len(theirs)} bytes")
        # The page's fields: size, gap, style and corners reach the download.
        page.type_size("2.5")
        page.set_field("dxf-closeGap", "10")
        page.choose("style", "radius")
        page.choose("dxf-corners", "concave")
        page.toggle("dxf-refillet")
        saved, downloaded = page.download(downloads)
        theirs, status, _ = native.fillet_dxf(path, "-c", "2.5", "--close-gap", "10", "--style", "radius",
                                              "--corners", "concave", "--refillet")
        checks.check(f"download: {name} at 2.5, gap 10, radius arcs, concave corners, re-cut is rrensen-dxf's output",
                     saved == name[:-4] + "-filleted.dxf" and downloaded == theirs and len(theirs) > 0,
                     f"{saved}, {len(downloaded)} bytes, status {status}")
        page.set_field("dxf-closeGap", "")
        page.choose("style", "chord")
        page.choose("dxf-corners", "all")
        page.toggle("dxf-refillet")


def test_refusal(page, checks, work):
    """The README's refused outline: a size too large refuses it with the
    engine's sentence, and the largest-size button draws it again."""
    path = os.path.join(work, "refused.txt")
    with open(path, "wb") as f:
        f.write(REFUSED_EXCHANGE)
    page.open_file(path)
    page.type_size("15")
    drawn = page.js("return document.querySelectorAll('#preview .failure').length") == 0
    checks.check("style: exchange files take chord arcs only",
                 page.js("return document.getElementById('style').disabled") and
                 page.element("size-label").text == "Fillet size (chord)" and
                 "chord arcs only" in page.element("style-hint").text, page.element("style-hint").text)
    page.type_size("16")
    message = page.message()
    checks.check("refusal: 15 draws, 16 is refused with the reason",
                 drawn and page.js("return document.querySelectorAll('#preview .failure').length") > 0
                 and REFUSED_AT_16 in message and "Refused at fillet size 16.000" in message, repr(message))
    before = page.draws()
    largest = page.element("largest")
    page.driver.execute_script("arguments[0].focus()", largest)
    largest.send_keys(Keys.ENTER)  # the keyboard presses it
    page.wait_redraw(before)
    drawn = page.js("return document.querySelectorAll('#preview .outline path').length") > 0
    checks.check("refusal: the largest-size button sets 15 and the outline is drawn",
                 page.element("size").get_attribute("value") == "15" and drawn and
                 page.js("return document.querySelectorAll('#preview .failure').length") == 0,
                 page.message())


def test_dxf_view(page, checks, logs_folder):
    """The bracket: the list, zooming to a polyline, wheel, drag, keys, fit,
    the largest size, and the Japanese page."""
    page.choose_example("bracket.dxf")
    page.type_size("5")
    checks.check("dxf: the refusal of 8E is said",
                 "8E" in page.message() and "the side from point 2 to point 3 is 1.500 long and needs 10.000"
                 in page.message(), page.message())
    home = page.view_box()
    rows = page.driver.find_elements(By.CSS_SELECTOR, "#polylines button[data-index]")
    checks.check("dxf: one row a polyline, with handle, layer and state",
                 len(rows) == 3 and "8E" in rows[2].text and "outline" in rows[2].text and
                 "left unchanged" in rows[2].text, " | ".join(r.text for r in rows))
    rows[2].send_keys(Keys.ENTER)
    wait_for(lambda: page.view_box() != home, 5)
    zoomed = page.view_box()
    checks.check("dxf: choosing a polyline zooms to it",
                 float(zoomed.split()[2]) < float(home.split()[2]) / 3, f"{home} -> {zoomed}")
    preview = page.element("preview")
    ActionChains(page.driver).scroll_from_origin(ScrollOrigin.from_element(preview), 0, -300).perform()
    after_wheel = wait_for(lambda: page.view_box() != zoomed and page.view_box(), 5)
    checks.check("dxf: the wheel zooms", after_wheel and float(after_wheel.split()[2]) < float(zoomed.split()[2]))
    before_drag = page.view_box()
    ActionChains(page.driver).move_to_element(preview).click_and_hold().move_by_offset(80, 40).release().perform()
    after_drag = page.view_box()
    checks.check("dxf: dragging pans", after_drag.split()[2] == before_drag.split()[2] and
                 after_drag.split()[0] != before_drag.split()[0], f"{before_drag} -> {after_drag}")
    preview.send_keys("-")
    preview.send_keys(Keys.ARROW_LEFT)
    checks.check("dxf: keys zoom and pan", page.view_box() != after_drag)
    page.element("fit").send_keys(Keys.ENTER)
    checks.check("dxf: fit shows the whole drawing again", page.view_box() == home, f"{page.view_box()} vs {home}")
    rows = page.driver.find_elements(By.CSS_SELECTOR, "#polylines button[data-index]")
    all_button = page.driver.find_element(By.CSS_SELECTOR, "#polylines button:not([data-index])")
    all_button.click()
    before = page.draws()
    page.element("largest").click()
    page.wait_redraw(before)
    checks.check("dxf: the largest size that fillets every polyline is 0.75",
                 page.element("size").get_attribute("value") == "0.75" and
                 "3 polylines filleted, 0 partly, 0 left unchanged" in page.message(), page.message())
    page.type_size("-1")
    checks.check("options: the preview refuses a size as filletDxf does",
                 "the fillet size must be a finite number of 0 or more, not '-1'" in page.message(),
                 page.message())
    refused = page.js("const r = rrensen.filletDxf('0\\nEOF\\n', {style: 'round'});"
                      "return [r.status, r.errors, r.dxf.length]")
    checks.check("options: filletDxf refuses an unknown style with status 2 and writes nothing",
                 refused == [2, "rrensen-dxf: unknown style 'round' (chord, radius, chamfer, "
                                "chord-chamfer, dogbone or tbone)\n", 0], str(refused))
    page.type_size("5")
    page.choose("style", "radius")
    checks.check("style: the size is labelled as what it measures, and the message names the style",
                 page.element("size-label").text == "Fillet size (radius)" and
                 "(radius arcs, radius 5)" in page.message(), page.element("size-label").text + " | " + page.message())
    page.choose("style", "chamfer")
    checks.check("style: a chamfer's size is a distance", page.element("size-label").text == "Fillet size (distance)")
    page.choose("style", "chord")
    page.js("document.activeElement.blur(); window.scrollTo(0, 0)")
    page.driver.save_screenshot(os.path.join(logs_folder, "web-page.png"))
    Select(page.element("language")).select_by_value("ja")
    checks.check("i18n: the page speaks Japanese",
                 "面取り寸法" in page.element("size").find_element(By.XPATH, "..").text and
                 "そのままです" in page.message() and page.js("return document.documentElement.lang") == "ja",
                 page.message())
    page.driver.save_screenshot(os.path.join(logs_folder, "web-page-ja.png"))
    Select(page.element("language")).select_by_value("en")
    checks.check("i18n: and English again", "left unchanged" in page.message(), page.message())


def test_controls_are_labelled(page, checks):
    unlabelled = page.js("""
      const problems = [];
      for (const c of document.querySelectorAll('input, select, button, a[href], [tabindex]')) {
        if (c.closest('[hidden]')) continue;
        const named = (c.labels && c.labels.length > 0) || c.getAttribute('aria-label') ||
          c.getAttribute('aria-labelledby') || c.textContent.trim();
        if (!named) problems.push(c.outerHTML.slice(0, 80));
        if (c.tabIndex < 0) problems.push('not focusable: ' + c.outerHTML.slice(0, 80));
      }
      return problems;""")
    checks.check("keyboard: every control has a label and can take the focus", unlabelled == [], str(unlabelled))
    ids = page.js("return ['file', 'size', 'preview', 'message', 'largest', 'download']"
                  ".filter(id => !document.getElementById(id))")
    checks.check("page: the stable element ids are there", ids == [], str(ids))


def test_network(page, checks, origin):
    foreign = page.js("return performance.getEntriesByType('resource').map(e => e.name)"
                      ".filter(n => !n.startsWith(arguments[0]))", origin)
    checks.check("network: only the page's own files are fetched", foreign == [], str(foreign))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--web", default="build/web", help="the web preset's build folder")
    parser.add_argument("--native", default="build/default/src", help="the native programs' folder")
    parser.add_argument("--logs", default="build/logs")
    args = parser.parse_args()
    checks = Checks()
    native = Native(args.native)
    site = os.path.join(args.web, "site")
    single = os.path.abspath(os.path.join(args.web, "rrensen.html"))
    os.makedirs(args.logs, exist_ok=True)
    work = tempfile.mkdtemp(prefix="rrensen-web-test-")
    downloads = os.path.join(work, "downloads")
    os.makedirs(downloads)
    server = serve(site, work)
    origin = f"http://127.0.0.1:{server.server_port}"
    driver = browser(downloads)
    page = Page(driver)
    try:
        checks.check("site: the page gets ready", page.open(origin + "/") is not None)
        version = subprocess.run([native.rrensen, "--version"], capture_output=True, text=True).stdout
        checks.check("api: rrensen.version is the programs' version",
                     page.js("return rrensen.version") in version, version)
        test_controls_are_labelled(page, checks)
        test_site(page, checks, native, os.path.join(site, "examples"), downloads)
        test_refusal(page, checks, work)
        test_dxf_view(page, checks, args.logs)
        test_network(page, checks, origin)
        page.collect_logs()
        checks.check("single file: opens from disk and gets ready", page.open("file://" + single) is not None)
        bracket = os.path.join(site, "examples", "bracket.dxf")
        page.choose_example("bracket.dxf")
        saved, downloaded = page.download(downloads)
        theirs, _, _ = native.fillet_dxf(bracket, "-c", "5")
        checks.check("single file: the bracket downloads as rrensen-dxf writes it",
                     downloaded == theirs and saved == "bracket-filleted.dxf", f"{saved} {len(downloaded)}")
        foreign = page.js("return performance.getEntriesByType('resource').map(e => e.name)")
        checks.check("single file: nothing is fetched", foreign == [], str(foreign))
        page.collect_logs()
        errors = [entry for entry in page.logs if entry.get("level") == "SEVERE"]
        checks.check("console: no errors", errors == [], json.dumps(errors)[:1000])
        for entry in page.logs:
            print("browser log:", entry.get("level"), entry.get("message", "")[:200])
    finally:
        driver.quit()
        server.shutdown()
        server.server_close()
        shutil.rmtree(work, ignore_errors=True)
    print(f"{checks.passed} passed, {checks.failed} failed")
    return 0 if checks.failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
