#!/usr/bin/python3
"""Remakes docs/screenshot-web.png (the page at 100 % in a 480 px wide window),
docs/screenshot-web-phone.png (a 390 px wide phone screen at 2x) and
docs/screenshot-web-contrast.png (forced colours, dark), each with the worked
example typed in and computed. Run it after `make web`.

    scripts/screenshot-web.py [SITE_FOLDER]
"""
import os
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
sys.path.insert(0, os.path.join(ROOT, "tests"))
from selenium.webdriver.common.by import By  # noqa: E402
from web_harness import Server, quit_browser, start_browser, wait_until_ready  # noqa: E402


def shoot(address, path, width, height, scale, media=()):
    driver = start_browser()
    try:
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": width, "height": height, "deviceScaleFactor": scale, "mobile": width < 480})
        driver.execute_cdp_cmd("Emulation.setEmulatedMedia",
                               {"features": [{"name": name, "value": value} for name, value in media]})
        driver.get(address)
        wait_until_ready(driver)
        for name, text in zip(("x1", "y1", "x2", "y2", "x"), ("1", "1", "3", "5", "2.5")):
            driver.find_element(By.ID, name).send_keys(text)
        driver.find_element(By.ID, "Command1").click()
        driver.save_screenshot(path)
    finally:
        quit_browser(driver)


def main():
    site = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build-web")
    if not os.path.isfile(os.path.join(site, "index.html")):
        sys.exit("screenshot: build the page first (make web)")
    server = Server(site)
    try:
        shoot(server.address, os.path.join(ROOT, "docs", "screenshot-web.png"), 480, 380, 1)
        shoot(server.address, os.path.join(ROOT, "docs", "screenshot-web-phone.png"), 390, 780, 2)
        shoot(server.address, os.path.join(ROOT, "docs", "screenshot-web-contrast.png"), 480, 380, 1,
              (("forced-colors", "active"), ("prefers-color-scheme", "dark")))
    finally:
        server.stop()
    print("screenshot: wrote docs/screenshot-web.png, docs/screenshot-web-phone.png and docs/screenshot-web-contrast.png")


if __name__ == "__main__":
    main()
