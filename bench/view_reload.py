"""Measures how long `scenario view` takes from a file's save to the page
having drawn the new state, in headless Chromium, for the built-in scenario
and the synthetic 1000 km route. Prints figures; asserts nothing about time.

Usage: /usr/bin/python3 bench/view_reload.py BUILD_DIR [SAVES]
  (BUILD_DIR: build/ci, which has tools/scenario and bench/synthetic_sources)
"""
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "view"))
from browser_test import browser, save_by_rename  # noqa: E402
from viewer_process import Viewer, wait_until, write_builtin_sources  # noqa: E402


def measure(scenario, line, run, saves, work):
    with open(run, "rb") as f:
        original = f.read()
    # A real change the compile sees: the aspect of the first signal.
    changed = re.sub(rb"(segnale,\s+\d+,\s+)1,", rb"\g<1>2,", original, count=1)
    assert changed != original
    times = []
    with Viewer(scenario, line, run, cwd=work) as v:
        with urllib.request.urlopen(v.url + "model", timeout=10) as r:
            model_bytes = len(r.read())
        d = browser()
        try:
            d.get(v.url)
            wait_until(lambda: d.execute_script("return window.viewerDrawn && window.viewerDrawn.version"), 30,
                       "the first model")
            for i in range(saves):
                before = d.execute_script("return window.viewerDrawn.version")
                saved_at = time.time() * 1000
                save_by_rename(run, changed if i % 2 == 0 else original)
                drawn = wait_until(lambda: d.execute_script(
                    "return window.viewerDrawn.version > arguments[0] ? window.viewerDrawn.at : 0", before),
                    10, "the new state drawn")
                times.append(drawn - saved_at)
                time.sleep(0.3)
        finally:
            d.quit()
            save_by_rename(run, original)
    return model_bytes, times


def main():
    build = os.path.abspath(sys.argv[1])
    saves = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    scenario = os.path.join(build, "tools", "scenario")
    with tempfile.TemporaryDirectory() as work:
        builtin = write_builtin_sources(scenario, os.path.join(work, "builtin"))
        synthetic_dir = os.path.join(work, "synthetic")
        subprocess.run([os.path.join(build, "bench", "synthetic_sources"), synthetic_dir], check=True, timeout=60)
        synthetic = (os.path.join(synthetic_dir, "Synthetic_linea.txt"), os.path.join(synthetic_dir, "Synthetic_1-.txt"))
        print("from save to drawn, %d saves each (the page's own clock against the script's)" % saves)
        for name, (line, run) in [("built-in scenario (40 km)", builtin), ("synthetic route (1000 km)", synthetic)]:
            model_bytes, t = measure(scenario, line, run, saves, work)
            print("%-27s model %7.1f KB  median %5.0f ms  min %5.0f ms  max %5.0f ms"
                  % (name, model_bytes / 1024, statistics.median(t), min(t), max(t)))


if __name__ == "__main__":
    sys.exit(main())
