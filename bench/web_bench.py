#!/usr/bin/python3
"""How fast the web page becomes usable, and how many bytes it costs.

    bench/web_bench.py SITE_FOLDER [RUNS]

Serves SITE_FOLDER compressed (web/serve.py --gzip) and opens it RUNS times
(default 10) in headless Chromium, each time in a new profile (cold: nothing
cached, no service worker; the browser has already opened one missing page
on the server, as a user's browser is running before the page is opened),
then RUNS reloads in one profile (warm: the service worker serves every file). For each it reports the median and the
slowest of:
  fields   navigation start to the parsed page, whose fields take the focus
  ready    navigation start to the calculator's being ready: the module
           compiled and started, the focus in y1, the buttons working
and the bytes transferred (compressed bodies, as the browser counted them),
and when the .wasm's last byte came (the median).
The same is measured for a page of one field and nothing else, which is as
fast as this browser on this machine gets.

Then both cold again as a phone sees them: Chromium's network emulation at
a 150 ms round trip and 1.6 Mbit/s down (750 kbit/s up), and its CPU slowed
4x. The goal there: linterp ready within twice the one-field page. Not a
test: nothing here passes or fails.
"""
import os
import statistics
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
from web_harness import Server, quit_browser, start_browser, wait_until_offline_ready, wait_until_ready  # noqa: E402

MEASURE = """
    const navigation = performance.getEntriesByType('navigation')[0];
    const ready = performance.getEntriesByName('linterp-ready')[0];
    const resources = performance.getEntriesByType('resource').filter(e => !e.name.endsWith('sw.js'));
    const bytes = [navigation, ...resources].reduce((sum, e) => sum + e.encodedBodySize, 0);
    const transferred = [navigation, ...resources].reduce((sum, e) => sum + e.transferSize, 0);
    const wasm = resources.find(e => e.name.endsWith('.wasm'));
    return [navigation.domInteractive, ready.startTime, bytes, transferred,
            navigator.serviceWorker.controller !== null, wasm ? wasm.responseEnd : null];
"""


# A phone on a slow network: DevTools' emulation, the figures its "Slow 4G"
# and mid-range phone presets use.
PHONE_NETWORK = {"offline": False, "latency": 150, "downloadThroughput": 1.6e6 / 8, "uploadThroughput": 750e3 / 8}
PHONE_CPU_SLOWDOWN = 4
GOAL = 2.0


def throttle(driver):
    driver.execute_cdp_cmd("Network.enable", {})
    driver.execute_cdp_cmd("Network.emulateNetworkConditions", PHONE_NETWORK)
    driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": PHONE_CPU_SLOWDOWN})


def load(driver, address):
    driver.get(address)
    wait_until_ready(driver)
    return driver.execute_script(MEASURE)


def summary(name, samples):
    fields = [s[0] for s in samples]
    ready = [s[1] for s in samples]
    print(f"{name:16} fields {statistics.median(fields):6.1f} ms (slowest {max(fields):6.1f}), "
          f"ready {statistics.median(ready):6.1f} ms (slowest {max(ready):6.1f}), "
          f"bodies {samples[0][2] / 1024:6.1f} KiB, transferred {samples[0][3] / 1024:6.1f} KiB, "
          f"service worker {'yes' if samples[0][4] else 'no'}")
    # When the module's last byte came: what is left after it is the
    # browser's work, before it the network's.
    arrived = [s[5] for s in samples if s[5] is not None]
    if arrived:
        print(f"{'':16} the .wasm fully in at {statistics.median(arrived):6.1f} ms (median)")


BASELINE = """<!doctype html><html lang="zh-CN"><head><meta charset="utf-8"><title>基线</title></head>
<body><input id="y1" autofocus><script>document.documentElement.dataset.ready = "";
performance.mark("linterp-ready");</script></body></html>"""


def measure(site, runs, warm_too=True, throttled=False):
    server = Server(site, compress=True)
    try:
        cold = []
        for _ in range(runs):
            driver = start_browser(engine="chromium")
            try:
                driver.get(server.address + "not-the-page")
                if throttled:
                    throttle(driver)
                cold.append(load(driver, server.address))
            finally:
                quit_browser(driver)
        if not warm_too:
            return cold, []
        driver = start_browser(engine="chromium")
        try:
            load(driver, server.address)
            wait_until_offline_ready(driver)
            warm = [load(driver, server.address) for _ in range(runs)]
        finally:
            quit_browser(driver)
    finally:
        server.stop()
    return cold, warm


def main():
    if len(sys.argv) < 2 or not os.path.isfile(os.path.join(sys.argv[1], "index.html")):
        sys.exit(__doc__)
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    with tempfile.TemporaryDirectory() as baseline:
        with open(os.path.join(baseline, "index.html"), "w", encoding="utf-8") as page:
            page.write(BASELINE)
        floor, _ = measure(baseline, runs, warm_too=False)
        slow_floor, _ = measure(baseline, runs, warm_too=False, throttled=True)
    cold, warm = measure(sys.argv[1], runs)
    slow_cold, _ = measure(sys.argv[1], runs, warm_too=False, throttled=True)
    print(f"{runs} loads each, served compressed from 127.0.0.1, headless Chromium")
    summary("one field, cold", floor)
    summary("linterp, cold", cold)
    summary("linterp, warm", warm)
    print(f"as a phone: {PHONE_NETWORK['latency']} ms round trip, "
          f"{PHONE_NETWORK['downloadThroughput'] * 8 / 1e6:.1f} Mbit/s down, CPU {PHONE_CPU_SLOWDOWN}x slower")
    summary("one field, cold", slow_floor)
    summary("linterp, cold", slow_cold)
    ratio = statistics.median(s[1] for s in slow_cold) / statistics.median(s[1] for s in slow_floor)
    print(f"linterp ready in {ratio:.2f}x the one-field page's time "
          f"(goal: within {GOAL:.0f}x, {'met' if ratio <= GOAL else 'not met'})")


if __name__ == "__main__":
    main()
