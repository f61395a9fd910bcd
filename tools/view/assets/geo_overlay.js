// The import's geo record on the page (NAME_geo.json beside the sources): the
// source's line drawn under the plan, so the author sees where the fit leaves
// it, and the import's figures above the errors and warnings. view.js calls
// geoOverlay.drawUnder while it draws the plan; nothing shows without a record.
(function () {
  let record = null;
  let asked = -1;

  function fixed(v, d) { return typeof v === "number" ? v.toFixed(d) : "?"; }

  function showFigures() {
    let box = document.getElementById("import-figures");
    if (!record || !record.figures) { if (box) box.remove(); return; }
    if (!box) {
      box = document.createElement("div");
      box.id = "import-figures";
      const errors = document.getElementById("errors");
      errors.parentNode.insertBefore(box, errors);
    }
    const f = record.figures;
    box.replaceChildren();
    const title = document.createElement("div");
    title.className = "import-title";
    title.textContent = "Imported draft (the blue line is the source's)";
    box.append(title);
    for (const [label, value] of [
      ["line / route", fixed(f.line_length, 0) + " m / " + f.route_length + " m, " + f.bends + " bends"],
      ["heading error", "max " + fixed(f.heading_error_max_deg, 2) + "°"],
      ["lateral deviation", "max " + fixed(f.lateral_max, 1) + " m, RMS " + fixed(f.lateral_rms, 1) + " m"],
      ["heights", "RMS " + fixed(f.height_rms, 2) + " m, max " + fixed(f.height_max, 2) + " m"],
      ["compiler's stretch", fixed(f.compiler_stretch, 4)],
      ["dropped", String(f.dropped)],
    ]) {
      const row = document.createElement("div");
      row.className = "import-row";
      row.textContent = label + ": " + value;
      box.append(row);
    }
  }

  async function load(version) {
    asked = version;
    try {
      const r = await fetch("/geo", { cache: "no-store" });
      record = r.ok ? await r.json() : null;
    } catch (e) {
      record = null;
    }
    showFigures();
    // Draw again with the line (view.js redraws on a resize).
    if (record) window.dispatchEvent(new Event("resize"));
  }

  window.geoOverlay = {
    // `screen(x, y)`: a point of the plan's frame on the canvas.
    drawUnder(g, screen, version) {
      if (version !== asked) load(version);
      const line = record && record.source_plan;
      if (!line || line.length < 2) return;
      g.beginPath();
      const [x0, y0] = screen(line[0][0], line[0][1]);
      g.moveTo(x0, y0);
      for (let i = 1; i < line.length; ++i) {
        const [x, y] = screen(line[i][0], line[i][1]);
        g.lineTo(x, y);
      }
      g.strokeStyle = "rgba(45,108,223,0.45)";
      g.lineWidth = 7;
      g.stroke();
    },
  };
})();
