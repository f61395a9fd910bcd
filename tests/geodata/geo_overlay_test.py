"""The page with an import's geo record: the source's line drawn under the
plan and the import's figures above the errors and warnings.

Imports a winding GeoJSON line written here, serves it with `scenario view`
in headless Chromium, and checks the figures box and the overlay's colour on
the plan; the screenshot is kept in the output directory to look at.
Usage: geo_overlay_test.py SCENARIO OUT_DIR [SCREENSHOT]
"""
import json
import math
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "view"))
from viewer_process import Viewer  # noqa: E402

from selenium import webdriver  # noqa: E402
from selenium.webdriver.chrome.service import Service  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402


def winding_line():
    """About 9 km: straights and arcs of 600 and 1500 m, a point every 20 m (lon, lat)."""
    points, x, y, h = [(0.0, 0.0)], 0.0, 0.0, 0.4
    for length, radius in [(1500, 0), (900, 600), (2000, 0), (1200, -1500), (1800, 0), (700, 600), (1000, 0)]:
        n = int(length / 20)
        for _ in range(n):
            if radius:
                h += 20 / radius
            x += 20 * math.sin(h)
            y += 20 * math.cos(h)
            points.append((x, y))
    lat0, lon0 = 44.3, 11.2
    return [[lon0 + px / (111320 * math.cos(math.radians(lat0))), lat0 + py / 111132] for px, py in points]


def main():
    scenario, out = sys.argv[1], sys.argv[2]
    shot = sys.argv[3] if len(sys.argv) > 3 else os.path.join(out, "geo_overlay.png")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    line = winding_line()
    geo = {"type": "FeatureCollection", "features": [
        {"type": "Feature", "properties": {}, "geometry": {"type": "LineString", "coordinates": line}},
        {"type": "Feature", "properties": {"railway": "station", "name": "Monte"},
         "geometry": {"type": "Point", "coordinates": line[5]}},
        {"type": "Feature", "properties": {"railway": "station", "name": "Piano"},
         "geometry": {"type": "Point", "coordinates": line[-8]}}]}
    with open(os.path.join(out, "line.geojson"), "w") as f:
        json.dump(geo, f)
    subprocess.run([scenario, "import", os.path.join(out, "line.geojson"), "--name", "Monte", "--train", "11",
                    "--out", os.path.join(out, "src")], check=True, stdout=subprocess.DEVNULL, timeout=60)
    options = webdriver.ChromeOptions()
    for a in ["--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1500,950", "--disable-dev-shm-usage"]:
        options.add_argument(a)
    with Viewer(scenario, os.path.join(out, "src", "Monte_linea.txt"), os.path.join(out, "src", "Monte_11-.txt"),
                cwd=out) as viewer:
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        try:
            driver.get(viewer.url)
            deadline = time.monotonic() + 30
            figures = []
            while time.monotonic() < deadline and not figures:
                figures = driver.find_elements(By.ID, "import-figures")
                time.sleep(0.2)
            assert figures, "the import's figures are not on the page"
            text = figures[0].text
            assert "lateral deviation" in text and "compiler's stretch" in text, text
            time.sleep(0.5)
            # The overlay's blue lies on the plan.
            data = driver.execute_script("""
                const c = document.getElementById('plan'), g = c.getContext('2d');
                const d = g.getImageData(0, 0, c.width, c.height).data;
                let blue = 0;
                for (let i = 0; i < d.length; i += 4)
                  if (d[i + 2] > 180 && d[i] < 200 && d[i + 2] - d[i] > 40 && d[i + 3] > 0) ++blue;
                return blue;""")
            assert data > 500, ("too few pixels of the source's line on the plan", data)
            driver.save_screenshot(shot)
        finally:
            driver.quit()
    print("geo overlay: figures shown, the source's line drawn (%d pixels); screenshot %s" % (data, shot))


if __name__ == "__main__":
    main()
