"""The speed band and the running times on the viewer's page, in headless
Chromium: the built-in scenario's band shows its two slowdowns at 30 km/h,
hovering and clicking the band give the speed, the cell and the source line,
the running-times table has one row per pair of timing points, and a stop
scheduled sooner than the permitted speed allows is warned and marked.
Saves screenshots into the work directory.
Usage: speed_band_test.py SCENARIO_EXECUTABLE WORK_DIRECTORY
"""
import json
import os
import sys
import urllib.request

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser_test import browser, save_by_rename, text  # noqa: E402
from viewer_process import Viewer, wait_until, write_builtin_sources  # noqa: E402

CORBEZZI = b"stazione,   17550, 22,  200,  0, 0, 1,  0,0,0,  4,1,1,   60,  16,37, 0, CORBEZZI"
CORBEZZI_TOO_SOON = b"stazione,   17550, 22,  200,  0, 0, 1,  0,0,0,  4,1,1,   60,  16,30, 0, CORBEZZI"


def band_point(d, position):
    """The band's canvas and the offset from its centre where `position` is drawn."""
    band = d.find_element(By.ID, "speed")
    w = d.execute_script("return arguments[0].getBoundingClientRect().width", band)
    x = d.execute_script("return window.speedBand.screenOf(arguments[0])", position)
    return band, x - w / 2, 0


def main():
    scenario, work = sys.argv[1], os.path.abspath(sys.argv[2])
    line, run = write_builtin_sources(scenario, os.path.join(work, "sources"))
    with open(run, "rb") as f:
        original = f.read()
    with Viewer(scenario, line, run, cwd=work) as v:
        with urllib.request.urlopen(v.url + "model", timeout=10) as r:
            model = json.load(r)
        speed = model["speed"]
        assert [(s["from"], s["to"], s["speed"]) for s in speed["slowdowns"]] == [(18650, 18950, 30),
                                                                                (34000, 35000, 30)], speed
        assert [s[2] for s in speed["stretches"]] == [80, 30, 80, 30, 80], speed["stretches"]
        assert [b["values"][:3] for b in speed["boards"]] == [[75, 80, 80]], speed["boards"]
        d = browser()
        try:
            d.set_page_load_timeout(30)
            d.get(v.url)
            rows = wait_until(lambda: [[c.text for c in r.find_elements(By.TAG_NAME, "td")]
                                       for r in d.find_elements(By.CSS_SELECTOR, "#running-times tbody tr")],
                              20, "the running times")
            assert len(rows) == 6, rows
            # 17 minutes scheduled; 17550 m at 80 km/h and the 60 s stop: 14:10 at the least.
            assert rows[0][:3] == ["CALVENA → CORBEZZI (60 s stop)", "17:00", "14:10"], rows[0]
            assert not d.find_elements(By.CSS_SELECTOR, "#running-times tr.below-bound")
            assert "boards" in text(d, "#speed-box .legend") and "do not change" in text(d, "#speed-box .legend")

            # Hover and click the first slowdown: its speed, its cell, its line (46).
            band, dx, dy = band_point(d, 18800)
            ActionChains(d).move_to_element_with_offset(band, dx, dy).perform()
            hover = wait_until(lambda: "permitted" in text(d, "#hover") and text(d, "#hover"), 10, "the hover text")
            assert "permitted 30 km/h" in hover and "slowdown" in hover, hover
            ActionChains(d).move_to_element_with_offset(band, dx, dy).click().perform()
            wait_until(lambda: text(d, "#source span.current[data-line='46']"), 10, "the slowdown's line")
            wait_until(lambda: text(d, "#cell-title").startswith("cell 376 "), 10, "the cell under the pointer")
            d.save_screenshot(os.path.join(work, "speed_band.png"))

            # Elsewhere: the line's limit and the speed line behind it.
            band, dx, dy = band_point(d, 5000)
            ActionChains(d).move_to_element_with_offset(band, dx, dy).click().perform()
            wait_until(lambda: text(d, "#source span.current[data-line='31']"), 10, "the speed line")

            # CORBEZZI seven minutes sooner: below the bound, warned at its line and marked.
            save_by_rename(run, original.replace(CORBEZZI, CORBEZZI_TOO_SOON))
            warning = wait_until(lambda: d.find_elements(By.CSS_SELECTOR, "#errors li[data-code='running-time']"),
                                 10, "the running-time warning")
            assert warning[0].get_attribute("data-line") == "37", warning[0].get_attribute("data-line")
            assert "10 min 00 s" in warning[0].text and "14 min 10 s" in warning[0].text, warning[0].text
            wait_until(lambda: d.find_elements(By.CSS_SELECTOR, "#running-times tr.below-bound"), 10,
                       "the leg marked")
            d.save_screenshot(os.path.join(work, "speed_band_below_bound.png"))
            save_by_rename(run, original)
            wait_until(lambda: not d.find_elements(By.CSS_SELECTOR, "#errors li[data-code]"), 10, "no warning")

            severe = [e for e in d.get_log("browser") if e["level"] == "SEVERE"]
            assert not severe, severe
            print("ok: band with two slowdowns at 30 km/h, hover and click, running times; screenshots in " + work)
        finally:
            d.quit()
    return 0


if __name__ == "__main__":
    sys.exit(main())
