"""The viewer's page in a real browser (headless Chromium through chromedriver).

Opens the page for the built-in scenario, reads the twelve stations, clicks a
signal and reads its cell and source line, then changes the run description on
disk and sees the error appear and go without reloading the page, deletes and
restores a file, and checks that the browser logged no error. Saves
screenshots into the work directory.
Usage: browser_test.py SCENARIO_EXECUTABLE WORK_DIRECTORY
"""
import os
import sys

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from viewer_process import Viewer, wait_until, write_builtin_sources  # noqa: E402

STATIONS = ["CALVENA", "CALVENA OVEST", "VALDIBRANA", "PITECCIO", "CORBEZZI", "CASTAGNO", "S.MOMME'",
            "PRACCHIA", "BIAGIONI LAGACCI", "MOLINO DEL PALLONE", "PONTE DELLA VENTURINA", "ROCCALBA TERME"]
SIGNAL = b"segnale,    3650,   1, 4, 1,  0, 0,    0,  0,0,0, 0\r\n"
SECOND_SIGNAL = b"segnale,    3650,   2, 4, 1,  0, 0,    0,  0,0,0, 0\r\n"


def save_by_rename(path, data):
    """Saves as many editors do: a new file renamed over the old one."""
    with open(path + ".tmp", "wb") as f:
        f.write(data)
    os.replace(path + ".tmp", path)


def text(d, selector):
    """The text of the first element matching `selector`, read in one step
    (the page replaces its panels, so a found element may be gone a moment later)."""
    return d.execute_script("const e = document.querySelector(arguments[0]); return e ? e.innerText : ''", selector)


def drawn_labels(d):
    """The plan's labels as drawn: [kind, text, [x0, y0, x1, y1]] from getBBox, and the canvas size."""
    wait_until(lambda: d.execute_script("return window.viewer.labelsShown()"), 10, "the plan's labels")
    return d.execute_script("""
        const layer = document.getElementById('plan-labels');
        const r = layer.getBoundingClientRect();
        const labels = [...layer.querySelectorAll('text')].map((t) => {
          const b = t.getBBox();
          return [t.getAttribute('class'), t.textContent, [b.x, b.y, b.x + b.width, b.y + b.height]];
        });
        return [labels, r.width, r.height];""")


def check_labels(d, stations_in_view):
    """Every station named in the view, inside the plan, no two labels overlapping."""
    labels, w, h = drawn_labels(d)
    names = [t for kind, t, _ in labels if kind == "label station"]
    assert sorted(names) == sorted(stations_in_view), names
    for _, t, (x0, y0, x1, y1) in labels:
        assert x0 >= 0 and y0 >= 0 and x1 <= w and y1 <= h, ("outside the plan", t, x0, y0, x1, y1, w, h)
    for i, (_, a, p) in enumerate(labels):
        for _, b, q in labels[i + 1:]:
            apart = p[2] <= q[0] + 0.5 or q[2] <= p[0] + 0.5 or p[3] <= q[1] + 0.5 or q[3] <= p[1] + 0.5
            assert apart, ("labels overlap", a, p, b, q)
    return labels


def browser():
    options = webdriver.ChromeOptions()
    for a in ["--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1500,950",
              "--disable-dev-shm-usage"]:
        options.add_argument(a)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def main():
    scenario, work = sys.argv[1], os.path.abspath(sys.argv[2])
    line, run = write_builtin_sources(scenario, os.path.join(work, "sources"))
    with open(run, "rb") as f:
        original = f.read()
    with Viewer(scenario, line, run, cwd=work) as v:
        d = browser()
        try:
            d.set_page_load_timeout(30)
            d.set_script_timeout(10)
            d.get(v.url)
            js = d.execute_script

            # The stations as a timetable.
            names = wait_until(lambda: [e.text for e in d.find_elements(By.CSS_SELECTOR, "#timetable td.station")],
                               20, "the timetable")
            assert names == STATIONS, names
            rows = [[c.text for c in r.find_elements(By.TAG_NAME, "td")]
                    for r in d.find_elements(By.CSS_SELECTOR, "#timetable tbody tr")]
            assert rows[4] == ["17.550", "CORBEZZI", "16:36:00", "16:37:00"], rows[4]
            assert "compiled at" in d.find_element(By.ID, "status").text
            js("window.sameDocument = 'yes'")
            check_labels(d, STATIONS)

            # The profile's hover: km, height, gradient and the permitted speed, at about 1/4 of the route.
            profile = d.find_element(By.ID, "profile")
            pw = js("return arguments[0].getBoundingClientRect().width", profile)
            ActionChains(d).move_to_element_with_offset(profile, int(54 + (pw - 66) / 4 - pw / 2), 0).perform()
            hover = wait_until(lambda: "‰" in text(d, "#hover") and text(d, "#hover"), 10, "the profile's hover")
            assert hover.startswith("10.") and " m · +" in hover and "‰" in hover and hover.endswith("km/h"), hover
            # Its km, height and gradient are the server's words for that metre, word for word.
            at = d.execute_async_script("const done = arguments[arguments.length - 1];"
                                        "fetch('/at?metre=' + window.viewer.hoverMetre()).then((r) => r.json())"
                                        ".then(done)")
            assert hover.startswith(at["words"]) and hover.startswith(at["km"] + " km · "), (hover, at)

            # The Documents panel: the train card as package writes it, kept open across updates.
            card = wait_until(lambda: js("const e = document.getElementById('document-card');"
                                         "return e && e.textContent"), 20, "the documents")
            assert " |     |     |  51.100  |     | CORBEZZI                   | 16.36    16.37 |     |" in card, card
            d.find_element(By.CSS_SELECTOR, "#documents details[data-document='card'] summary").click()

            # Click the signal at 3650 m: its cell, its fields, its line.
            plan = d.find_element(By.ID, "plan")
            x, y = js("return window.viewer.screenOf(3650)")
            w, h = js("const r = arguments[0].getBoundingClientRect(); return [r.width, r.height]", plan)
            ActionChains(d).move_to_element_with_offset(plan, x - w / 2, y - h / 2).click().perform()
            wait_until(lambda: "signal" in text(d, "#cell-kind"), 10, "the cell panel")
            assert d.find_element(By.ID, "cell-title").text.startswith("cell 74 (3700 to 3750 m)")
            fields = [r.text.split() for r in d.find_elements(By.CSS_SELECTOR, "#cell-fields tr")]
            assert [f[0] for f in fields] == ["tipo", "dato1", "dato2", "dato3", "dato4", "dato5", "dato6",
                                              "galleria", "velocita", "pendenza", "aderenza"], fields
            assert fields[0] == ["tipo", "1"], fields
            assert d.find_element(By.CSS_SELECTOR, "#cell-origin a").text.endswith("Calvena_Roccalba_4127-.txt:49")
            current = wait_until(lambda: text(d, "#source span.current[data-line='49']"), 10, "line 49 shown")
            assert "segnale,    3650," in current, current

            # Clicking another source line shows where its item lies.
            d.find_element(By.CSS_SELECTOR, "#source span[data-line='52']").click()
            wait_until(lambda: text(d, "#cell-title").startswith("cell 216 "), 10,
                       "the signal of line 52 (10750 m, cell 216)")

            # Zoomed in; the update below keeps the view and the selection.
            plan.send_keys("+")
            where = js("return window.viewer.screenOf(3650)")

            # A second signal on the same cell, saved on disk: error 16 on line 50.
            save_by_rename(run, original.replace(SIGNAL, SIGNAL + SECOND_SIGNAL))
            error = wait_until(lambda: d.find_elements(By.CSS_SELECTOR, "#errors li[data-code='16']"), 10,
                               "error 16 on the page")
            after = js("return window.viewer.screenOf(3650)")
            assert abs(after[0] - where[0]) < 2 and abs(after[1] - where[1]) < 2, ("the view moved", where, after)
            assert js("return window.viewer.selectedCell()") == 216, "the selection was lost on update"
            assert error[0].get_attribute("data-line") == "50", error[0].get_attribute("data-line")
            assert "Calvena_Roccalba_4127-.txt:50" in error[0].text, error[0].text
            assert "reading stopped" in d.find_element(By.ID, "status").text
            d.save_screenshot(os.path.join(work, "view_error.png"))
            error[0].click()
            wait_until(lambda: text(d, "#source span.current[data-line='50']"), 10, "line 50 selected")
            # Its second place, the first signal on line 49, is a link to that line.
            related = d.find_element(By.CSS_SELECTOR, "#errors li[data-code='16'] a.related")  # redrawn on click
            assert related.text.endswith("/Calvena_Roccalba_4127-.txt:49"), related.text
            related.click()
            wait_until(lambda: text(d, "#source span.current[data-line='49']"), 10, "line 49 selected")

            # Fixed: the error goes.
            save_by_rename(run, original)
            wait_until(lambda: not d.find_elements(By.CSS_SELECTOR, "#errors li[data-code]"), 10, "no error")

            # A missing comma: its consequences fold under it, each a link to its line.
            save_by_rename(run, original.replace(b"segnale,    3650,", b"segnale    3650,"))
            folded = wait_until(lambda: d.find_elements(By.CSS_SELECTOR, "#errors li details.consequences"), 10,
                                "the folded consequences")
            summary = folded[0].find_element(By.TAG_NAME, "summary")
            assert summary.text == "and 4 consequences", summary.text
            summary.click()
            links = folded[0].find_elements(By.CSS_SELECTOR, "a.related")
            assert [l.text.rsplit(":", 1)[1] for l in links] == ["49", "49", "50", "50"], [l.text for l in links]
            links[2].click()
            wait_until(lambda: text(d, "#source span.current[data-line='50']"), 10, "line 50 selected")
            save_by_rename(run, original)
            wait_until(lambda: not d.find_elements(By.CSS_SELECTOR, "#errors li[data-code]"), 10, "no warning")
            assert d.find_elements(By.CSS_SELECTOR, "#documents details[data-document='card'][open]")

            # A file gone: the page keeps the route and says what it waits for.
            os.remove(run)
            wait_until(lambda: "waiting for" in text(d, "#status"), 10, "waiting")
            assert len(d.find_elements(By.CSS_SELECTOR, "#timetable td.station")) == 12
            save_by_rename(run, original)
            wait_until(lambda: "compiled at" in text(d, "#status"), 10, "compiled again")

            # A reader error in the line description: the run description is not read; the page says so
            # and draws the line as far as it was read.
            with open(line, "rb") as f:
                line_original = f.read()
            board = b"cartello_indicatore,  5750,   (VAIONI)(535 m.)\r\n"
            save_by_rename(line, line_original.replace(board, board + board))
            note = wait_until(lambda: text(d, "#plan-note:not([hidden])"), 10, "the note of the line's stop")
            assert "run description was not read" in note and "line 175" in note, note
            d.save_screenshot(os.path.join(work, "view_line_error.png"))
            save_by_rename(line, line_original)
            wait_until(lambda: not text(d, "#plan-note:not([hidden])"), 10, "the note gone")

            assert js("return window.sameDocument") == "yes", "the page was reloaded"
            # Zoom in with the keyboard and look at the finer plan.
            plan.send_keys("+++")
            in_view = js("""const r = document.getElementById('plan').getBoundingClientRect();
                return arguments[0].filter((n, i) => {
                  const [x, y] = window.viewer.screenOf(window.viewer.stationPosition(i));
                  return x >= 0 && y >= 0 && x <= r.width && y <= r.height; });""", STATIONS)
            wait_until(lambda: sorted(t for k, t, _ in drawn_labels(d)[0] if k == "label station") == sorted(in_view),
                       10, "the labels of the zoomed view")
            check_labels(d, in_view)
            d.save_screenshot(os.path.join(work, "view.png"))
            severe = [e for e in d.get_log("browser") if e["level"] == "SEVERE"]
            assert not severe, severe
            print("ok: stations, cell 74 and line 49, error 16 came and went, waiting and back; "
                  "screenshots in " + work)
        finally:
            d.quit()
    return 0


if __name__ == "__main__":
    sys.exit(main())
