"""Firefox driven over WebDriver BiDi, the protocol it speaks itself, so that
no geckodriver is needed: Debian has firefox-esr but no geckodriver.

The driver answers to the part of Selenium's interface the page's suite
uses (get, refresh, execute_script, find_element, get_log, elements' click,
send_keys, get_property, get_attribute, text, is_displayed), so that one
suite drives every engine. Needs Debian's python3-websocket.
"""
import json
import math
import os
import re
import shutil
import subprocess
import tempfile

import websocket
from selenium.common.exceptions import JavascriptException, NoSuchElementException
from selenium.webdriver.common.by import By

from web_harness import MODIFIERS


# Nothing of Firefox's own may leave the machine: its remote agent already
# turns off updates, telemetry and the like when it starts; these are the rest.
QUIET = {
    "browser.safebrowsing.malware.enabled": False,
    "browser.safebrowsing.phishing.enabled": False,
    "browser.safebrowsing.downloads.enabled": False,
    "browser.safebrowsing.blockedURIs.enabled": False,
    "network.captive-portal-service.enabled": False,
    "network.connectivity-service.enabled": False,
    "services.settings.server": "http://127.0.0.1:9/",
    "media.gmp-manager.url": "http://127.0.0.1:9/",
    "extensions.getAddons.cache.enabled": False,
    "browser.region.network.url": "",
    "browser.search.geoip.url": "",
    "network.dns.disablePrefetch": True,
    "network.prefetch-next": False,
}
# A headless browser's window never has the focus, and without it Firefox
# neither moves the focus on autofocus nor routes keys to a focused button;
# its test mode treats the window as focused, as a user's would be.
FOCUSED = {"focusmanager.testmode": True}


def serialize(value):
    """A Python value as BiDi's LocalValue."""
    if value is None:
        return {"type": "null"}
    if isinstance(value, Element):
        return {"sharedId": value.id}
    if isinstance(value, bool):
        return {"type": "boolean", "value": value}
    if isinstance(value, (int, float)):
        if isinstance(value, float) and not math.isfinite(value):
            return {"type": "number", "value": "NaN" if math.isnan(value) else ("Infinity" if value > 0 else "-Infinity")}
        return {"type": "number", "value": value}
    if isinstance(value, str):
        return {"type": "string", "value": value}
    if isinstance(value, (list, tuple)):
        return {"type": "array", "value": [serialize(v) for v in value]}
    if isinstance(value, dict):
        return {"type": "object", "value": [[str(k), serialize(v)] for k, v in value.items()]}
    raise TypeError(f"cannot pass {type(value).__name__} to the page")


class Firefox:
    engine = "firefox"

    def __init__(self, language="zh-CN", width=1024, height=768, minimum_font_size=0, wait_for="normal",
                 headless=False):
        self.profile = tempfile.mkdtemp(prefix="linterp-firefox-")
        prefs = dict(QUIET, **FOCUSED, **{"intl.accept_languages": language, "intl.locale.requested": language})
        if minimum_font_size:
            for group in ("zh-CN", "x-western", "x-unicode"):
                prefs[f"font.minimum-size.{group}"] = minimum_font_size
        with open(os.path.join(self.profile, "user.js"), "w", encoding="utf-8") as user:
            for name, value in prefs.items():
                user.write(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n")
        command = [shutil.which("firefox-esr") or shutil.which("firefox") or "/usr/bin/firefox-esr",
                   "--remote-debugging-port=0", "--profile", self.profile, "--no-remote", "--new-instance",
                   f"--width={width}", f"--height={height}"]
        if headless:
            command.append("--headless")
        self.process = subprocess.Popen(command + ["about:blank"], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.PIPE, text=True, errors="replace")
        address = None
        for line in self.process.stderr:
            found = re.search(r"WebDriver BiDi listening on (ws://\S+)", line)
            if found:
                address = found.group(1)
                break
        if not address:
            self.quit()
            raise RuntimeError("Firefox did not start its WebDriver BiDi server")
        # The rest of its chatter is read off and dropped, so that it never blocks.
        self.drain = subprocess.Popen(["cat"], stdin=self.process.stderr, stdout=subprocess.DEVNULL)
        self.wait_for = {"normal": "complete", "eager": "interactive", "none": "none"}[wait_for]
        self.socket = websocket.create_connection(address + "/session", timeout=120, suppress_origin=True)
        self.last_id = 0
        self.log = []
        self.send("session.new", {"capabilities": {"alwaysMatch": {"unhandledPromptBehavior": "ignore"}}})
        self.send("session.subscribe", {"events": ["log.entryAdded"]})
        self.context = self.send("browsingContext.getTree", {})["contexts"][0]["context"]

    # The protocol.

    def send(self, method, params):
        self.last_id += 1
        self.socket.send(json.dumps({"id": self.last_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("type") == "event":
                if message["method"] == "log.entryAdded":
                    self.log.append(message["params"])
                continue
            if message.get("id") != self.last_id:
                continue
            if message.get("type") == "error":
                if message["error"] == "javascript error":
                    raise JavascriptException(message.get("message"))
                raise RuntimeError(f"{method}: {message['error']}: {message.get('message')}")
            return message["result"]

    def deserialize(self, value):
        kind = value["type"]
        if kind in ("undefined", "null"):
            return None
        if kind == "number":
            special = {"NaN": math.nan, "-0": -0.0, "Infinity": math.inf, "-Infinity": -math.inf}
            return special.get(value["value"], value["value"]) if isinstance(value["value"], str) else value["value"]
        if kind in ("string", "boolean", "bigint"):
            return value["value"]
        if kind in ("array", "set", "nodelist", "htmlcollection"):
            return [self.deserialize(v) for v in value.get("value", [])]
        if kind in ("object", "map"):
            return {(k if isinstance(k, str) else self.deserialize(k)): self.deserialize(v)
                    for k, v in value.get("value", [])}
        if kind == "node":
            return Element(self, value["sharedId"])
        if kind == "window":
            return None
        return value.get("value")

    # Selenium's interface, as far as the suite uses it.

    def execute_script(self, script, *args):
        result = self.send("script.callFunction", {
            "functionDeclaration": "function() {\n" + script + "\n}",
            "arguments": [serialize(a) for a in args],
            "target": {"context": self.context},
            "awaitPromise": True,
            "resultOwnership": "none",
        })
        if result["type"] == "exception":
            raise JavascriptException(result["exceptionDetails"]["text"])
        return self.deserialize(result["result"])

    def get(self, url):
        self.send("browsingContext.navigate", {"context": self.context, "url": url, "wait": self.wait_for})

    def refresh(self):
        self.send("browsingContext.reload", {"context": self.context, "wait": self.wait_for})

    @property
    def title(self):
        return self.execute_script("return document.title")

    def find_element(self, by, value):
        if by == By.ID:
            found = self.execute_script("return document.getElementById(arguments[0])", value)
        elif by == By.CSS_SELECTOR:
            found = self.execute_script("return document.querySelector(arguments[0])", value)
        else:
            raise ValueError(f"find_element by {by} is not supported")
        if found is None:
            raise NoSuchElementException(f"no element {by} {value!r}")
        return found

    def get_log(self, kind):
        """The console's entries since the last call, in Chromium's shape: {level, message}."""
        assert kind == "browser"
        self.send("session.status", {})  # every event sent before its answer has now been read
        levels = {"error": "SEVERE", "warn": "WARNING", "info": "INFO", "debug": "DEBUG"}
        taken, self.log = self.log, []
        return [{"level": levels.get(e["level"], e["level"].upper()), "message": e.get("text") or ""}
                for e in taken]

    def perform(self, *sources):
        self.send("input.performActions", {"context": self.context, "actions": list(sources)})

    def keys(self, *values):
        """Keys typed in order; a modifier stays down until the end, as Selenium's send_keys does."""
        actions, held = [], []
        for value in values:
            for key in value:
                actions.append({"type": "keyDown", "value": key})
                if key in MODIFIERS:
                    held.append(key)
                else:
                    actions.append({"type": "keyUp", "value": key})
        actions += [{"type": "keyUp", "value": key} for key in reversed(held)]
        self.perform({"type": "key", "id": "keyboard", "actions": actions})

    def pointer(self, kind, x, y, origin=None):
        """A press and release at (x, y): of the viewport, or from an element's middle."""
        self.perform({"type": "pointer", "id": kind, "parameters": {"pointerType": kind}, "actions": [
            {"type": "pointerMove", "x": x, "y": y, "origin": origin or "viewport"},
            {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]})

    def locate_accessible(self, **wanted):
        """The elements whose accessible role or name is as wanted (role=..., name=...)."""
        found = self.send("browsingContext.locateNodes", {
            "context": self.context, "locator": {"type": "accessibility", "value": wanted}})
        return [self.deserialize(node) for node in found["nodes"]]

    def set_viewport(self, width, height, scale=None):
        self.send("browsingContext.setViewport", {"context": self.context,
                                                  "viewport": {"width": width, "height": height} if width else None,
                                                  "devicePixelRatio": scale})

    def quit(self):
        try:
            if getattr(self, "socket", None):
                self.send("session.end", {})
                self.socket.close()
        except Exception:  # a browser that is already gone is quit enough
            pass
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(15)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if getattr(self, "drain", None):
            self.drain.wait()
        self.process.stderr.close()
        shutil.rmtree(self.profile, ignore_errors=True)


class Element:
    def __init__(self, driver, shared_id):
        self.driver = driver
        self.id = shared_id

    def _script(self, script, *args):
        return self.driver.execute_script(script, self, *args)

    def get_property(self, name):
        return self._script("return arguments[0][arguments[1]]", name)

    def get_attribute(self, name):
        return self._script("return arguments[0].getAttribute(arguments[1])", name)

    @property
    def text(self):
        return self._script("return arguments[0].innerText")

    def is_displayed(self):
        return self._script("const e = arguments[0];"
                            "return e.getClientRects().length > 0 && getComputedStyle(e).visibility !== 'hidden'")

    def click(self):
        self._script("arguments[0].scrollIntoView({block: 'nearest'})")
        self.driver.pointer("mouse", 0, 0, {"type": "element", "element": {"sharedId": self.id}})

    def send_keys(self, *values):
        self._script("if (document.activeElement !== arguments[0]) arguments[0].focus()")
        self.driver.keys(*values)

    def __eq__(self, other):
        return isinstance(other, Element) and other.id == self.id

    def __hash__(self):
        return hash(self.id)
