"""The browser harness the page's suite, its benchmark and its screenshots
share: web/serve.py on a free port (or in this process, holding the calculator
back), a browser of each engine with nothing of its own leaving the machine,
and waits for the page's states. The engines:
  chromium  Debian's Chromium, headless, through chromedriver
  firefox   Debian's Firefox ESR, headless, over WebDriver BiDi (web_bidi.py)
  webkit    WebKitGTK's MiniBrowser through WebKitWebDriver, on an Xvfb
            display of its own (WebKitGTK has no headless mode)

Needs Debian's chromium, chromium-driver, firefox-esr, webkit2gtk-driver,
xvfb, python3-selenium and python3-websocket; the Python packages belong to
/usr/bin/python3.
"""
import contextlib
import functools
import json
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.support.ui import WebDriverWait

from xvfb_display import Display  # noqa: E402  (beside this file, on the suites' path)

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


ENGINES = ("chromium", "firefox", "webkit")
# The engine start_browser() starts unless told otherwise.
ENGINE = os.environ.get("LINTERP_BROWSER", "chromium")
MINIBROWSER = "/usr/lib/" + (os.uname().machine + "-linux-gnu") + "/webkit2gtk-4.1/MiniBrowser"
# Where tests/make-locale.sh compiled the locales WebKitGTK takes its
# languages from; without one, it says en-US.
LOCALE_DIR = os.environ.get("LINTERP_LOCALE_DIR", "")


def start_browser(language="zh-CN", width=1024, height=768, minimum_font_size=0, wait_for="normal", engine=None):
    """A browser of `engine` (ENGINE by default) in a new profile. Every
    driver says its engine (driver.engine); what only some engines can be
    told (a minimum font size: not WebKitGTK) raises unittest.SkipTest."""
    engine = engine or ENGINE
    if engine == "firefox":
        from web_bidi import Firefox
        return Firefox(language=language, width=width, height=height, minimum_font_size=minimum_font_size,
                       wait_for=wait_for, headless=True)
    if engine == "webkit":
        return start_webkit(language, width, height, minimum_font_size, wait_for)
    if engine != "chromium":
        raise ValueError(f"unknown engine {engine!r}; known: {', '.join(ENGINES)}")
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
    driver.engine = "chromium"
    driver.profile = profile
    driver.helpers = []
    return driver


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def start_webkit(language, width, height, minimum_font_size, wait_for):
    import unittest
    if minimum_font_size:
        raise unittest.SkipTest("WebKitWebDriver cannot set a minimum font size")
    display = Display()
    port = free_port()
    locale = language.replace("-", "_") + ".UTF-8"
    environment = dict(os.environ, DISPLAY=display.name, LANG=locale, LC_ALL=locale, LANGUAGE=language.replace("-", "_"))
    environment.pop("WAYLAND_DISPLAY", None)
    if LOCALE_DIR:
        environment["LOCPATH"] = LOCALE_DIR
    service = subprocess.Popen(["WebKitWebDriver", f"--port={port}"], env=environment,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    options = webdriver.WebKitGTKOptions()
    options.binary_location = MINIBROWSER
    options.add_argument("--automation")
    options.page_load_strategy = wait_for
    for _ in range(100):  # until the driver listens
        with socket.socket() as probe:
            if probe.connect_ex(("127.0.0.1", port)) == 0:
                break
        time.sleep(0.05)
    try:
        driver = webdriver.Remote(command_executor=f"http://127.0.0.1:{port}", options=options)
        driver.set_window_size(width, height)
    except Exception:
        service.terminate()
        display.stop()
        raise
    driver.engine = "webkit"
    driver.profile = None
    driver.helpers = [service, display]
    return driver


def quit_browser(driver):
    driver.quit()
    if driver.engine == "firefox":
        return
    for helper in driver.helpers:
        if isinstance(helper, Display):
            helper.stop()
        else:
            helper.terminate()
            helper.wait()
    if driver.profile:
        shutil.rmtree(driver.profile, ignore_errors=True)


MODIFIERS = {"\ue008", "\ue009", "\ue00a", "\ue03d"}  # Shift, Control, Alt, Meta


def press(driver, *keys):
    """Keys pressed in turn where the focus is; a modifier is held until the last key is up."""
    if driver.engine == "firefox":
        driver.keys(*keys)
        return
    chain, held = ActionChains(driver), []
    for key in keys:
        if key in MODIFIERS:
            chain.key_down(key)
            held.append(key)
        else:
            chain.send_keys(key)
    for key in reversed(held):
        chain.key_up(key)
    chain.perform()


def console_log(driver):
    """The console's entries since the last call ({level, message}); None
    where the engine's driver does not tell (WebKitWebDriver)."""
    if driver.engine == "webkit":
        return None
    return driver.get_log("browser")


@contextlib.contextmanager
def opened(folder, language="zh-CN", minimum_font_size=0):
    """The page of `folder` served and opened in a browser of its own: (server, driver)."""
    driver = start_browser(language=language, minimum_font_size=minimum_font_size)
    server = Server(folder)
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
