"""The browser harness the page's suite, its benchmark and its screenshots
share: web/serve.py on a free port (or in this process, holding the calculator
back), Debian's Chromium started headless through chromedriver with nothing
of its own leaving the machine, and waits for the page's states.

Needs Debian's chromium, chromium-driver and python3-selenium, which belong
to /usr/bin/python3.
"""
import contextlib
import functools
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

SERVE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "web", "serve.py")
sys.path.insert(0, os.path.dirname(SERVE))
import serve  # noqa: E402


def read_layout(path):
    """The layout table's facts: the title, the form's size, and each control's
    kind, caption, longest text, box in the form (pixels), tab index and label."""
    with open(path, encoding="utf-8") as source:
        return json.load(source)


class HeldServer:
    """The site served from this process by web/serve.py's handler, holding
    back linterp.wasm until release(): a slow first visit."""

    def __init__(self, folder):
        gate = self.gate = threading.Event()

        class Handler(serve.Handler):
            def do_GET(self):
                if self.path.split("?")[0].endswith(".wasm"):
                    gate.wait(30)
                super().do_GET()

        self.httpd = serve.Server(("127.0.0.1", 0), functools.partial(Handler, directory=folder, compress=False))
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()
        self.address = f"http://127.0.0.1:{self.httpd.server_address[1]}/"

    def release(self):
        self.gate.set()

    def stop(self):
        self.gate.set()
        self.httpd.shutdown()
        self.httpd.server_close()


class Server:
    """web/serve.py on a free port, in a process of its own."""

    def __init__(self, folder, compress=False):
        command = [sys.executable, SERVE, folder, "0"] + (["--gzip"] if compress else [])
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE, text=True)
        self.address = re.search(r"(http://\S+/)", self.process.stdout.readline()).group(1)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait()
        self.process.stdout.close()


def start_browser(language="zh-CN", width=1024, height=768, minimum_font_size=0, wait_for="normal"):
    options = webdriver.ChromeOptions()
    options.page_load_strategy = wait_for
    if minimum_font_size:
        options.add_experimental_option("prefs", {"webkit.webprefs.minimum_font_size": minimum_font_size})
    options.binary_location = shutil.which("chromium") or "/usr/bin/chromium"
    profile = tempfile.mkdtemp(prefix="linterp-chromium-")
    # No request of the browser's own may leave the machine: these machines have no network.
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--no-first-run", "--disable-dev-shm-usage",
                 f"--user-data-dir={profile}", f"--window-size={width},{height}", f"--lang={language}",
                 f"--accept-lang={language}"):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service(shutil.which("chromedriver") or "/usr/bin/chromedriver"),
                              options=options)
    driver.profile = profile
    return driver


def quit_browser(driver):
    driver.quit()
    shutil.rmtree(driver.profile, ignore_errors=True)


@contextlib.contextmanager
def opened(folder, language="zh-CN", minimum_font_size=0):
    """The page of `folder` served and opened in a browser of its own: (server, driver)."""
    server = Server(folder)
    driver = start_browser(language=language, minimum_font_size=minimum_font_size)
    try:
        driver.get(server.address)
        yield server, driver
    finally:
        quit_browser(driver)
        server.stop()


def wait_until_ready(driver):
    """Until the calculator has started: the module loaded, the focus given, the buttons working."""
    WebDriverWait(driver, 10).until(lambda d: d.execute_script("return 'ready' in document.documentElement.dataset"))


def wait_until_offline_ready(driver):
    """Until the service worker has stored the page and serves it."""
    WebDriverWait(driver, 10).until(lambda d: d.execute_script("return navigator.serviceWorker.controller !== null"))


def set_fields(driver, texts):
    """Sets fields' texts at once, as a paste would: {name: text}."""
    driver.execute_script("for (const [id, v] of Object.entries(arguments[0])) document.getElementById(id).value = v",
                          texts)
