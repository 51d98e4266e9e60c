#!/usr/bin/python3
"""The web page in a real browser of each engine.

    tests/web_test.py [--engine=chromium|firefox|webkit] SITE_FOLDER LAYOUT_JSON [TEST ...]

Serves SITE_FOLDER on a free local port, types with real key events and
clicks with real mouse events, and checks the page against the window's
layout table (LAYOUT_JSON, which the build writes from it). The browsers and
the server come from web_harness.py. What an engine's driver cannot do is
skipped there with the reason; everything else runs in all three.
"""
import os
import re
import shutil
import sys
import tempfile
import unittest

from selenium.common.exceptions import TimeoutException
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import web_harness  # noqa: E402
from web_harness import (HeldServer, Server, console_log, opened, press, quit_browser, read_layout,  # noqa: E402
                         set_fields, start_browser, wait_until_offline_ready, wait_until_ready)

ARGS = [arg for arg in sys.argv[1:] if not arg.startswith("--engine=")]
for arg in sys.argv[1:]:
    if arg.startswith("--engine="):
        web_harness.ENGINE = arg.split("=", 1)[1]
ENGINE = web_harness.ENGINE
SITE = os.path.abspath(ARGS[0]) if ARGS else ""
LAYOUT_JSON = ARGS[1] if len(ARGS) > 1 else ""
FIELDS = ("x1", "y1", "x2", "y2", "x")  # in the order the tables below give them
# WebKitGTK's window is never narrower than this many CSS pixels.
NARROWEST = {"webkit": 447}.get(ENGINE, 0)
# Firefox's WebDriver BiDi key actions reach a focused button (its keydown
# listeners see Enter and Space) but never press it: no click follows.
KEYS_PRESS_BUTTONS = ENGINE != "firefox"


def only_in(*engines, why):
    """Skips a test in the engines not named, saying why."""
    return unittest.skipUnless(ENGINE in engines, f"{ENGINE}: {why}")


# Firefox logs the tab icon's request as failed when the next test's load
# cuts it off while the service worker is passing its body on: a request of
# the browser's own, made after the page has loaded, whose answer no page
# reads. Any other failed request still counts.
CUT_OFF_ICON = re.compile(r"Failed to load ‘[^’]*/linterp\.svg’\. A ServiceWorker intercepted the request and "
                          r"encountered an unexpected error")


def errors_in(log):
    return [entry["message"] for entry in log
            if entry["level"] == "SEVERE" and not CUT_OFF_ICON.search(entry["message"])]


class Page(unittest.TestCase):
    """One browser and one server for the suite; the page is loaded afresh for each test."""

    @classmethod
    def setUpClass(cls):
        cls.layout = read_layout(LAYOUT_JSON)
        cls.table = cls.layout["controls"]
        cls.server = Server(SITE)
        cls.driver = start_browser()

    @classmethod
    def tearDownClass(cls):
        quit_browser(cls.driver)
        cls.server.stop()

    def setUp(self):
        self.open()

    def tearDown(self):
        # Nothing the page did may have thrown: no uncaught exception, no error
        # logged (where the driver reads the console).
        log = console_log(self.driver)
        if log is not None:
            self.assertEqual(errors_in(log), [])

    def open(self):
        self.driver.get(self.server.address)
        wait_until_ready(self.driver)

    def el(self, name):
        return self.driver.find_element(By.ID, name)

    def value(self, name):
        return self.el(name).get_property("value")

    def type_into(self, name, text):
        field = self.el(name)
        field.click()
        field.send_keys(Keys.CONTROL, "a")
        field.send_keys(Keys.DELETE)
        if text:
            field.send_keys(text)

    def fill(self, texts):
        for name, text in zip(FIELDS, texts):
            self.type_into(name, text)

    def press(self, *keys):
        press(self.driver, *keys)

    def focused(self):
        return self.driver.execute_script("return document.activeElement.id")

    def selection(self):
        return self.driver.execute_script(
            "const e = document.activeElement; return [e.selectionStart, e.selectionEnd, e.value.length]")

    def report(self):
        """The report box's text when it is open, else None."""
        if not self.el("report").get_property("open"):
            return None
        return self.el("report-message").text + "\n" + self.el("report-unfinished").text

    def close_report(self, focus=None):
        """Presses Enter in the report box; with `focus`, waits for the page to
        move the cursor there, which it does on the box's close event, a task
        after the box has closed."""
        self.assertEqual(self.focused(), "report-ok")
        if KEYS_PRESS_BUTTONS:
            self.press(Keys.ENTER)
        else:
            self.el("report-ok").click()
        WebDriverWait(self.driver, 5).until(lambda d: not self.el("report").get_property("open"))
        if focus is not None:
            try:
                WebDriverWait(self.driver, 5).until(lambda d: self.focused() == focus)
            except TimeoutException:
                pass  # the assertion that follows says where the cursor is instead

    # What a click computes.

    WORKED = [
        ("between", ("1", "1", "3", "5", "2"), "3"),
        ("the README's example", ("1", "1", "3", "5", "2.5"), "4"),
        ("extrapolates", ("1", "1", "3", "5", "-1"), "-3"),
        ("third", ("0", "0", "3", "1", "1"), "0.33"),
        ("tie to even, down", ("0", "0", "8", "1", "1"), "0.12"),
        ("tie to even, up", ("0", "0", "8", "3", "1"), "0.38"),
        ("negative tie to even", ("0", "0", "8", "-1", "1"), "-0.12"),
        ("full-width and spaces", (" 0", "０", "１", "１", "０．５ "), "0.5"),
        ("Chinese full stop and minus sign", ("1", "1", "3", "\u22123", "２。５"), "-2"),
        ("exponents", ("0", "0", "1e3", "1e1", "5e2"), "5"),
        ("huge inputs", ("1e300", "1", "-1e300", "3", "0"), "2"),
    ]

    def edges(self):
        """The result's range as y writes it: lowest, highest."""
        return (f"{self.layout['lowestResult']:.2f}", f"{self.layout['highestResult']:.2f}")

    def test_worked_examples_by_mouse(self):
        low, high = self.edges()
        for name, texts, expected in self.WORKED + [
            ("top", ("0", "0", "1", "1", high), high),
            ("bottom", ("0", "0", "1", "1", low), low),
            ("bottom tie to even", ("0", "0", "1", "1", low + "5"), low),  # the edge's last digit is even
        ]:
            with self.subTest(name):
                self.fill(texts)
                self.el("Command1").click()
                self.assertIsNone(self.report())
                self.assertEqual(self.value("y"), expected)
                self.assertEqual(self.el("l1").text, "")
                # The result is read out with its label.
                self.assertEqual(self.el("announce").get_property("textContent"), "y = " + expected)

    def test_equal_abscissas_leave_y_and_say_so(self):
        self.fill(("1", "1", "3", "5", "2"))
        self.el("Command1").click()
        self.type_into("x2", "1")
        self.el("Command1").click()
        self.assertIsNone(self.report())
        self.assertEqual(self.el("l1").text, self.table["l1"]["longest"])
        self.assertEqual(self.el("l1").get_attribute("role"), "status")
        self.assertEqual(self.value("y"), "3")

    # Failures: the report box, then the cursor in the field at fault with
    # its text selected, y and l1 as they were. The report's wording is
    # report_test's; here it need only arrive whole.

    FAILURES = [
        ("empty field", ("1", "", "3", "5", "2"), "y1"),
        ("not a number", ("abc", "1", "3", "5", "2"), "x1"),
        ("other separator", ("1", "1", "3", "5", "2,5"), "x"),
        ("beyond a double", ("0", "1e999", "1", "0", "1"), "y1"),
        ("same number, other text", ("1", "1", "1.0", "2", "3"), "x2"),
        ("intermediate overflow", ("0", "1e200", "1", "0", "1e200"), "Command1"),
    ]

    def test_failures_report_and_select_the_field_at_fault(self):
        low, high = self.edges()
        for name, texts, focus in self.FAILURES + [
            ("result above the top", ("0", "0", "1", "1", high + "5"), "Command1"),  # a tie to the even past it
            ("result below the bottom", ("0", "0", "1", "1", low + "6"), "Command1"),
        ]:
            with self.subTest(name):
                self.fill(("1", "1", "3", "5", "2"))
                self.el("Command1").click()
                self.fill(texts)
                self.el("Command1").click()
                self.assertIsNotNone(self.report(), "no report box")
                self.assertNotEqual(self.el("report-message").text, "")
                self.assertNotEqual(self.el("report-unfinished").text, "")
                self.close_report(focus)
                self.assertEqual(self.focused(), focus)
                if focus in FIELDS:
                    start, end, length = self.selection()
                    self.assertEqual((start, end), (0, length))
                self.assertEqual(self.value("y"), "3")
                self.assertEqual(self.el("l1").text, "")

    def test_a_pasted_text_of_any_length_is_quoted_short(self):
        pasted = "天" * 100_000
        self.fill(("1", "1", "3", "5", "2"))
        set_fields(self.driver, {"x": pasted})
        self.el("Command1").click()
        self.assertIn("“" + "天" * 40 + "…”", self.report())
        self.close_report("x")
        self.assertEqual(self.selection(), [0, 100_000, 100_000])

    @only_in("chromium", "webkit", why="a paste the test makes is untrusted, and Firefox gives such a paste "
             "no data; its driver cannot paste for real")
    def test_pasted_lines_stay_apart_on_one_line(self):
        for pasted in ("2.5\n3", "2.5\r\n3", "2.5\r3"):
            with self.subTest(repr(pasted)):
                self.open()
                self.fill(("1", "1", "3", "5", ""))
                self.el("x").click()
                self.driver.execute_script("""
                    const data = new DataTransfer();
                    data.setData("text/plain", arguments[0]);
                    const paste = new ClipboardEvent("paste", {clipboardData: data, bubbles: true, cancelable: true});
                    if (document.activeElement.dispatchEvent(paste))  // not taken: what a browser does itself
                        document.activeElement.value += arguments[0].replace(/[\\r\\n]/g, "");""", pasted)
                self.assertEqual(self.value("x"), "2.5 3")
                self.el("Command1").click()
                self.assertIn("“2.5 3”", self.report())
                self.close_report(focus="x")

    def test_clear_empties_every_field_and_the_message(self):
        self.fill(("1", "1", "1", "5", "2"))
        self.el("Command1").click()
        self.assertNotEqual(self.el("l1").text, "")
        self.el("Command2").click()
        for name in FIELDS + ("y",):
            self.assertEqual(self.value(name), "", name)
        self.assertEqual(self.el("l1").text, "")

    # The keyboard.

    def test_focus_starts_in_y1_and_tab_follows_the_table(self):
        self.assertEqual(self.focused(), "y1")
        focusable = [name for name, c in self.table.items() if c["kind"] in ("TextBox", "CommandButton")]
        order = sorted(focusable, key=lambda name: self.table[name]["tab"])
        seen = [self.focused()]
        for _ in order[1:]:
            self.press(Keys.TAB)
            seen.append(self.focused())
        self.assertEqual(seen, order)
        self.press(Keys.SHIFT, Keys.TAB)
        self.assertEqual(self.focused(), order[-2])

    def test_enter_in_a_field_runs_nothing_and_space_or_enter_press_a_button(self):
        self.fill(("1", "1", "3", "5", "2.5"))
        self.press(Keys.ENTER)
        self.assertEqual(self.value("y"), "")
        self.assertIsNone(self.report())
        for key in (Keys.ENTER, Keys.SPACE):
            with self.subTest(repr(key)):
                if not KEYS_PRESS_BUTTONS:
                    self.skipTest(f"{ENGINE}: the driver's keys do not press buttons")
                self.el("Command2").click()
                self.fill(("1", "1", "3", "5", "2.5"))
                self.driver.execute_script("document.getElementById('Command1').focus()")
                self.press(key)
                self.assertEqual(self.value("y"), "4")
                self.assertEqual(self.focused(), "Command1")

    # The page against the table.

    def boxes(self):
        """Each control's box in CSS pixels, relative to the form's inside."""
        return self.driver.execute_script("""
            const form = document.getElementById('Form1').getBoundingClientRect();
            const border = parseFloat(getComputedStyle(document.getElementById('Form1')).borderLeftWidth);
            const boxes = {};
            for (const e of document.querySelectorAll('#Form1 [data-row]')) {
                const r = e.getBoundingClientRect();
                boxes[e.id] = [r.left - form.left - border, r.top - form.top - border, r.width, r.height];
            }
            return boxes;""")

    def test_every_control_sits_where_the_table_puts_it(self):
        boxes = self.boxes()
        self.assertEqual(sorted(boxes), sorted(self.table))
        for name in self.table:
            with self.subTest(name):
                for got, want in zip(boxes[name], self.table[name]["box"]):
                    self.assertAlmostEqual(got, want, delta=1)

    def test_captions_are_the_tables_and_fields_are_named(self):
        for name, control in self.table.items():
            with self.subTest(name):
                element = self.el(name)
                if control["kind"] == "TextBox":
                    label = self.driver.execute_script("return arguments[0].labels[0].textContent", element)
                    self.assertNotEqual(label, "")
                    self.assertAccessible(element, name=label)
                elif control["kind"] == "Frame":
                    self.assertAccessible(element, role="group", name=control["caption"])
                else:
                    self.assertEqual(element.get_property("textContent"), control["caption"])
        self.assertEqual(self.driver.title, self.layout["title"])
        self.assertEqual(self.driver.execute_script("return document.documentElement.lang"), "zh-CN")

    def assertAccessible(self, element, role=None, name=None):
        """The element's role and name in the browser's accessibility tree. Over
        BiDi (Firefox) they cannot be read, but the nodes that have them can be
        looked up."""
        if ENGINE == "firefox":
            for wanted in ({"role": role}, {"name": name}):
                if None not in wanted.values():
                    self.assertIn(element, self.driver.locate_accessible(**wanted), wanted)
            return
        if role is not None:
            self.assertEqual(element.aria_role, role)
        if name is not None:
            self.assertEqual(element.accessible_name, name)

    def test_captions_fit_their_boxes(self):
        overflowing = self.driver.execute_script("""
            return [...document.querySelectorAll('#Form1 .label, #Form1 button')]
                .filter(e => e.scrollWidth > e.clientWidth + 1).map(e => e.id);""")
        self.assertEqual(overflowing, [])

    # Small screens, touch, and what screen readers meet.

    def emulate(self, width, height, mobile=True):
        """A viewport of width x height CSS pixels; `mobile`: a phone's, at
        twice the pixels and taking touch, where the engine can be told."""
        if width < NARROWEST:
            self.skipTest(f"{ENGINE}: the window is never narrower than {NARROWEST} px")
        if ENGINE == "chromium":
            self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                        {"width": width, "height": height, "deviceScaleFactor": 2, "mobile": mobile})
            self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled",
                                        {"enabled": mobile, "maxTouchPoints": 1})
        elif ENGINE == "firefox":
            self.driver.set_viewport(width, height, 2 if mobile else None)
        else:
            self.driver.set_window_size(width, height)
            self.assertEqual(self.driver.execute_script("return innerWidth"), width)

    def stop_emulating(self):
        if ENGINE == "chromium":
            self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
            self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
        elif ENGINE == "firefox":
            self.driver.set_viewport(None, None, None)
        else:
            self.driver.set_window_size(1024, 768)

    def tap(self, name):
        """A finger on the control's middle, and off again (a mouse where the engine's driver has no touch)."""
        x, y = self.driver.execute_script(
            "arguments[0].scrollIntoView({block: 'center'});"
            "const r = arguments[0].getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]",
            self.el(name))
        if ENGINE == "chromium":
            for kind, points in (("touchStart", [{"x": x, "y": y}]), ("touchEnd", [])):
                self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})
        elif ENGINE == "firefox":
            self.driver.pointer("touch", round(x), round(y))
        else:
            self.el(name).click()

    def sideways_overflow(self):
        return self.driver.execute_script(
            "const e = document.documentElement; return e.scrollWidth - e.clientWidth")

    def test_a_phone_gets_large_text_and_targets_in_the_keyboard_order(self):
        for width in (320, 390):
            with self.subTest(width):
                self.emulate(width, 700)
                try:
                    self.open()
                    self.assertLessEqual(self.sideways_overflow(), 0)
                    measured = self.driver.execute_script("""
                        const all = (s) => [...document.querySelectorAll(s)].filter(e => e.getClientRects().length);
                        const box = (e) => e.getBoundingClientRect();
                        return {
                            small: all('#Form1 .label, #Form1 legend, #Form1 input, #Form1 button')
                                .filter(e => parseFloat(getComputedStyle(e).fontSize) < 16).map(e => e.id),
                            low: all('#Form1 input, #Form1 button').filter(e => box(e).height < 44).map(e => e.id),
                            order: all('#Form1 input, #Form1 button').sort((a, b) => box(a).top - box(b).top)
                                .map(e => e.id),
                            beside: all('#Form1 input').filter(e => {
                                const field = box(e), label = box(e.labels[0]);
                                const middle = label.top + label.height / 2;
                                return label.right <= field.left && middle > field.top && middle < field.bottom;
                            }).map(e => e.id),
                        };""")
                    self.assertEqual(measured["small"], [])
                    self.assertEqual(measured["low"], [])
                    self.assertEqual(measured["order"], self.layout["keyboardOrder"])
                    self.assertEqual(sorted(measured["beside"]), sorted(self.layout["fields"]))
                    # A computation by touch.
                    for name, text in zip(FIELDS, ("1", "1", "3", "5", "2.5")):
                        self.tap(name)
                        self.assertEqual(self.focused(), name)
                        self.press(text)
                    self.tap("Command1")
                    self.assertEqual(self.value("y"), "4")
                    self.tap("Command2")
                    self.assertEqual(self.value("y"), "")
                finally:
                    self.stop_emulating()

    def test_turning_the_phone_keeps_what_was_typed(self):
        self.emulate(390, 844)
        try:
            self.open()
            self.fill(("1", "1", "3"))
            self.emulate(844, 390)  # on its side: the window's arrangement fits
            self.assertEqual(self.boxes()["Command1"][2], self.table["Command1"]["box"][2])
            self.type_into("y2", "5")
            self.type_into("x", "2.5")
            self.emulate(390, 844)
            self.assertEqual([self.value(name) for name in FIELDS], ["1", "1", "3", "5", "2.5"])
            self.tap("Command1")
            self.assertEqual(self.value("y"), "4")
        finally:
            self.stop_emulating()

    def test_no_sideways_scrollbar_at_any_width(self):
        # Short windows, so that a vertical scrollbar takes its share.
        for width in (320, 390, 426, 427, 430, 440, 480, 1024):
            with self.subTest(width):
                self.emulate(width, 200, mobile=False)
                try:
                    self.open()
                    self.assertLessEqual(self.sideways_overflow(), 0)
                finally:
                    self.stop_emulating()

    def test_the_window_arrangement_holds_down_to_the_touch_breakpoint(self):
        # The breakpoint is computed from the border and margin page.css uses;
        # one pixel wider, the form is whole at the table's pixels.
        media = self.driver.find_element(By.ID, "touch").get_attribute("media")
        widest_touch = int(re.fullmatch(r"\(max-width: (\d+)\.98px\)", media).group(1))
        for width, touch in ((widest_touch + 1, False), (widest_touch, True)):
            with self.subTest(width):
                self.emulate(width, 800, mobile=False)
                try:
                    self.open()
                    matches, form = self.driver.execute_script(
                        "return [matchMedia(arguments[0]).matches,"
                        " document.getElementById('Form1').getBoundingClientRect().width]", media)
                    self.assertEqual(matches, touch)
                    self.assertLessEqual(self.sideways_overflow(), 0)
                    if not touch:
                        self.assertEqual(form, self.layout["width"] + 2)  # and its two borders
                finally:
                    self.stop_emulating()

    @only_in("chromium", why="only Chromium's driver can switch forced colours on in a running page")
    def test_forced_colours_draw_the_diagram_and_borders(self):
        self.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": [
            {"name": "forced-colors", "value": "active"}, {"name": "prefers-color-scheme", "value": "dark"}]})
        try:
            self.open()
            colours = self.driver.execute_script("""
                const style = (s) => getComputedStyle(document.querySelector(s));
                return {canvas: style('#Form1').backgroundColor, line: style('.diagram line').stroke,
                        field: style('#x1').borderTopColor, button: style('#Command1').borderTopColor,
                        frame: style('#Frame1').borderTopColor};""")
            canvas = colours.pop("canvas")
            self.assertEqual(canvas, "rgb(0, 0, 0)")  # the dark scheme's
            for part, colour in colours.items():
                self.assertNotEqual(colour, canvas, part)
        finally:
            self.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": []})

    def test_screen_readers_meet_the_title_the_diagram_and_each_label_before_its_field(self):
        reading = self.driver.execute_script("""
            const out = [];
            const walk = (node) => {
                for (const e of node.children) {
                    if (e.hidden || e.getAttribute('aria-hidden') === 'true') continue;
                    if (e.matches('figure')) { out.push('figure'); continue; }
                    if (e.matches('h1, legend, label, input, button, [role=status]')) out.push(e.id || e.localName);
                    walk(e);
                }
            };
            walk(document.getElementById('Form1'));
            return out;""")
        title = self.driver.find_element(By.CSS_SELECTOR, "#Form1 h1")
        expected = [title.get_attribute("id"), "figure", "legend"]
        for name in self.layout["keyboardOrder"]:
            if self.table[name]["label"]:
                expected.append(self.table[name]["label"])
            expected.append(name)
        self.assertEqual(reading, expected + ["l1"])
        self.assertAccessible(title, role="heading")
        figure = self.driver.find_element(By.CSS_SELECTOR, "#Form1 figure")
        self.assertAccessible(figure, role="figure", name=self.el("diagram-description").get_property("textContent"))
        self.assertIn("(x1,y1)", self.el("diagram-description").get_property("textContent"))

    def test_no_request_leaves_the_page(self):
        origin = self.server.address.rstrip("/")
        urls = self.driver.execute_script(
            "return performance.getEntriesByType('resource').map(e => e.name).concat([location.href])")
        self.assertEqual([url for url in urls if not url.startswith(origin)], [])


class OtherSeparator(unittest.TestCase):
    """A browser whose language writes 1,5."""

    def test_comma_reads_and_the_full_stop_gets_the_hint(self):
        with opened(SITE, language="de-DE") as (_, driver):
            wait_until_ready(driver)
            set_fields(driver, {"x1": "0", "y1": "0", "x2": "1", "y2": "1", "x": "1,5"})
            driver.find_element(By.ID, "Command1").click()
            self.assertEqual(driver.find_element(By.ID, "y").get_property("value"), "1,5")
            set_fields(driver, {"x": "1.5"})
            driver.find_element(By.ID, "Command1").click()
            self.assertIn("“,”", driver.find_element(By.ID, "report-message").text)  # the hint names the comma


class Offline(unittest.TestCase):
    """After one visit the page is installable and works with its server gone."""

    def test_installable_and_reloads_with_the_server_stopped(self):
        with opened(SITE) as (server, driver):
            wait_until_offline_ready(driver)
            if driver.engine == "chromium":  # the one engine that installs pages and tells why not
                self.assertEqual(driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"],
                                 [])
                self.assertEqual(driver.execute_cdp_cmd("Page.getAppManifest", {})["errors"], [])
            server.stop()
            driver.refresh()
            wait_until_ready(driver)
            set_fields(driver, {"x1": "1", "y1": "1", "x2": "3", "y2": "5", "x": "2.5"})
            driver.find_element(By.ID, "Command1").click()
            self.assertEqual(driver.find_element(By.ID, "y").get_property("value"), "4")


class SlowLoad(unittest.TestCase):
    """A first visit over a slow line: the page says it is not ready yet, and
    a click made meanwhile runs once the calculator has loaded."""

    def test_a_click_while_loading_runs_once_ready(self):
        server = HeldServer(SITE)
        # The load is held back on purpose, so no driver waits for any of it:
        # WebKitWebDriver, told to wait until the page is parsed, sometimes
        # waited for the whole load and never saw it end.
        driver = start_browser(wait_for="none")
        try:
            driver.get(server.address)
            # This page, not the blank one before it, parsed and page.js run.
            WebDriverWait(driver, 10).until(lambda d: d.execute_script(
                "return location.href === arguments[0] && document.readyState !== 'loading'", server.address))
            button = driver.find_element(By.ID, "Command1")
            self.assertEqual(button.get_attribute("aria-disabled"), "true")
            self.assertTrue(driver.find_element(By.ID, "loading").is_displayed())
            set_fields(driver, {"x1": "1", "y1": "1", "x2": "3", "y2": "5", "x": "2.5"})
            button.click()
            self.assertEqual(driver.find_element(By.ID, "y").get_property("value"), "")
            self.assertIn("载入后", driver.find_element(By.ID, "loading").text)
            server.release()
            wait_until_ready(driver)
            self.assertEqual(driver.find_element(By.ID, "y").get_property("value"), "4")
            self.assertIsNone(button.get_attribute("aria-disabled"))
            self.assertFalse(driver.find_element(By.ID, "loading").is_displayed())
        finally:
            quit_browser(driver)
            server.stop()


class MinimumFontSize(unittest.TestCase):
    """A browser whose user set a minimum font size, as low-vision users do:
    above the window's own text size, the touch arrangement, whose boxes grow
    with their text; every text whole and nothing overlapping."""

    def test_the_page_stays_whole(self):
        widest = f"{read_layout(LAYOUT_JSON)['lowestResult']:.2f}"
        for size in (12, 13, 16):
            with self.subTest(size), opened(SITE, minimum_font_size=size) as (_, driver):
                wait_until_ready(driver)
                touch, design = driver.execute_script(
                    "return [matchMedia(document.getElementById('touch').media).matches,"
                    " parseFloat(getComputedStyle(document.documentElement).getPropertyValue('--font-size'))]")
                self.assertEqual(touch, size > design)
                # l1 with its message, y with the widest result.
                set_fields(driver, {"x1": "1", "y1": "1", "x2": "1", "y2": "5", "x": "2"})
                driver.find_element(By.ID, "Command1").click()
                set_fields(driver, {"y": widest})
                found = driver.execute_script("""
                    const all = [...document.querySelectorAll('#Form1 .label, #Form1 input, #Form1 button')]
                        .filter(e => !e.closest('figure'));
                    const overflowing = all.filter(e => e.scrollWidth > e.clientWidth + 1).map(e => e.id);
                    const overlapping = [];
                    for (const a of all) for (const b of all) {
                        if (a.id >= b.id || (a.control ?? b.control) === (a.control ? b : a)) continue;
                        const p = a.getBoundingClientRect(), q = b.getBoundingClientRect();
                        const across = Math.min(p.right, q.right) - Math.max(p.left, q.left);
                        const down = Math.min(p.bottom, q.bottom) - Math.max(p.top, q.top);
                        if (across > 1 && down > 1) overlapping.push(a.id + '/' + b.id);
                    }
                    const e = document.documentElement;
                    return {overflowing, overlapping, sideways: e.scrollWidth - e.clientWidth};""")
                self.assertEqual(found, {"overflowing": [], "overlapping": [], "sideways": 0})


class FromFile(unittest.TestCase):
    """The page opened from disk: it works (Firefox), or it says in Chinese
    why not and how to open it (Chromium and WebKit refuse it its module)."""

    def test_it_works_or_says_how_to_open_it(self):
        driver = start_browser()
        try:
            driver.get("file://" + os.path.join(SITE, "index.html"))
            status = driver.find_element(By.ID, "status")
            WebDriverWait(driver, 10).until(lambda d: status.is_displayed() or d.execute_script(
                "return 'ready' in document.documentElement.dataset"))
            set_fields(driver, dict(zip(FIELDS, ("1", "1", "3", "5", "2.5"))))
            if status.is_displayed():
                self.assertIn("从文件打开", status.text)
                self.assertIn("make run-web", status.text)
                driver.find_element(By.ID, "Command2").click()  # clearing still works
                self.assertEqual(driver.find_element(By.ID, "x").get_property("value"), "")
            else:
                driver.find_element(By.ID, "Command1").click()
                self.assertEqual(driver.find_element(By.ID, "y").get_property("value"), "4")
        finally:
            quit_browser(driver)


class Update(unittest.TestCase):
    """A new build served where the old one was: the page open meanwhile keeps
    what was typed, and the next load is the new build."""

    def test_the_next_load_is_the_new_build(self):
        with tempfile.TemporaryDirectory() as folder:
            shutil.copytree(SITE, folder, dirs_exist_ok=True)
            with opened(folder) as (_, driver):
                wait_until_ready(driver)
                wait_until_offline_ready(driver)
                title = driver.title
                # The new build: another page, and so another service worker.
                for name, old, new in (("index.html", f"<title>{title}</title>", f"<title>{title} 2</title>"),
                                       ("sw.js", 'const STORE = "', 'const STORE = "next-')):
                    path = os.path.join(folder, name)
                    with open(path, encoding="utf-8") as file:
                        text = file.read()
                    self.assertIn(old, text)
                    with open(path, "w", encoding="utf-8") as file:
                        file.write(text.replace(old, new))
                # The first load after the build is the new build.
                driver.refresh()
                wait_until_ready(driver)
                self.assertEqual(driver.title, f"{title} 2")
                # The browser takes the new service worker meanwhile and
                # leaves the open page, and what is typed in it, as it is.
                set_fields(driver, {"x1": "1"})
                driver.execute_script("return navigator.serviceWorker.ready.then((r) => r.update())")
                WebDriverWait(driver, 10).until(lambda d: d.execute_script(
                    "return caches.keys().then((names) => names.some((n) => n.startsWith('next-')))"))
                self.assertEqual(driver.find_element(By.ID, "x1").get_property("value"), "1")


class MissingServiceWorker(unittest.TestCase):
    """Without its service worker the page works, and tells a developer why it will not offline."""

    def test_the_page_works_and_the_console_says_why_not_offline(self):
        with tempfile.TemporaryDirectory() as folder:
            shutil.copytree(SITE, folder, dirs_exist_ok=True)
            os.remove(os.path.join(folder, "sw.js"))
            with opened(folder) as (_, driver):
                wait_until_ready(driver)
                warnings = []  # each read of the log takes what it returns

                def warned(d):
                    warnings.extend(e["message"] for e in console_log(d) if e["level"] == "WARNING")
                    return any("service worker was not registered" in w for w in warnings)

                if driver.engine != "webkit":  # whose driver cannot read the console
                    WebDriverWait(driver, 10).until(warned)
                set_fields(driver, dict(zip(FIELDS, ("1", "1", "3", "5", "2.5"))))
                driver.find_element(By.ID, "Command1").click()
                self.assertEqual(driver.find_element(By.ID, "y").get_property("value"), "4")


class MissingModule(unittest.TestCase):
    """Without its WebAssembly module the page says so instead of showing a dead form."""

    def test_a_missing_module_shows_a_chinese_message(self):
        for missing in ("linterp.wasm", "linterp.js"):
            with self.subTest(missing), tempfile.TemporaryDirectory() as folder:
                shutil.copytree(SITE, folder, dirs_exist_ok=True)
                os.remove(os.path.join(folder, missing))
                os.remove(os.path.join(folder, "sw.js"))
                with opened(folder) as (_, driver):
                    status = driver.find_element(By.ID, "status")
                    WebDriverWait(driver, 10).until(lambda d: status.is_displayed())
                    self.assertIn("计算部分没能载入", status.text)
                    self.assertEqual(driver.find_element(By.ID, "Command1").get_attribute("aria-disabled"), "true")
                    # Clearing needs no calculator.
                    clear = driver.find_element(By.ID, "Command2")
                    self.assertIsNone(clear.get_attribute("aria-disabled"))
                    set_fields(driver, {"x1": "1", "y": "4"})
                    clear.click()
                    for name in FIELDS + ("y",):
                        self.assertEqual(driver.find_element(By.ID, name).get_property("value"), "", name)
                    log = console_log(driver)
                    if log is not None:
                        uncaught = [e["message"] for e in log if "Uncaught" in e["message"]]
                        self.assertEqual(uncaught, [])


if __name__ == "__main__":
    if not (os.path.isfile(os.path.join(SITE, "index.html")) and os.path.isfile(LAYOUT_JSON)):
        sys.exit(__doc__)
    unittest.main(argv=sys.argv[:1] + ARGS[2:], verbosity=2)
