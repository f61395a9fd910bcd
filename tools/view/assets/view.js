// The scenario viewer's page: draws the model the server pushes, asks for a
// finer plan on zoom, and shows cells and source lines on request.
"use strict";

(function () {
  const $ = (id) => document.getElementById(id);
  const planCanvas = $("plan");
  const profileCanvas = $("profile");
  const speedCanvas = $("speed");
  const hoverBox = $("hover");

  const state = {
    model: null,
    overview: [],        // [p, x, y] of the whole line, thinned
    detail: null,        // {from, to, version, points}: a finer stretch for the zoomed view
    labels: null,        // {key, font, list}: the plan's labels placed for one view
    labelsShown: null,   // the labels in the label layer
    angle: 0, cos: 1, sin: 0,
    view: null,          // {u, v, scale}: rotated world point at the canvas centre, pixels per metre
    moved: false,        // the author has panned or zoomed: updates keep the view
    hover: null,         // position in metres under the pointer
    cell: null,          // selected cell index
    cellSpan: null,      // its stretch of route, [from, to] metres, as the server gives it
    mark: null,          // position marked by a selection
    source: null,        // {source, line}: the source line shown
    selectedError: -1,
    drawn: { version: -1, at: 0 },
  };

  // ---- helpers ----------------------------------------------------------

  function el(tag, attrs, ...children) {
    const e = document.createElement(tag);
    for (const [k, v] of Object.entries(attrs || {})) {
      if (k === "class") e.className = v;
      else if (k.startsWith("on")) e.addEventListener(k.slice(2), v);
      else e.setAttribute(k, v);
    }
    for (const c of children) e.append(c instanceof Node ? c : document.createTextNode(String(c)));
    return e;
  }

  function km(p) { return (p / 1000).toFixed(p % 1000 === 0 ? 0 : 2) + " km"; }
  function clock(ms) {
    const d = new Date(ms);
    return [d.getHours(), d.getMinutes(), d.getSeconds()].map((n) => String(n).padStart(2, "0")).join(":");
  }
  async function getJson(url) {
    const r = await fetch(url, { cache: "no-store" });
    if (!r.ok) throw new Error(url + ": " + r.status);
    return r.json();
  }
  function sourceOfFile(file) {
    if (!state.model || file == null) return null;
    if (file === state.model.files.line) return "line";
    if (file === state.model.files.run) return "run";
    return null;
  }
  // A key of an error entry, null when absent.
  function field(e, ...keys) {
    for (const k of keys) if (e[k] !== undefined && e[k] !== null) return e[k];
    return null;
  }

  // ---- geometry ----------------------------------------------------------

  function rotate(x, y) { return [state.cos * x + state.sin * y, -state.sin * x + state.cos * y]; }

  function pointsFor(p) {
    const d = state.detail;
    if (d && d.version === state.model.version && p >= d.from && p <= d.to && d.points.length > 1) return d.points;
    return state.overview;
  }

  // The rotated world point at position p, by linear interpolation.
  function worldAt(p) {
    const pts = pointsFor(p);
    if (!pts.length) return [p, 0];
    let lo = 0, hi = pts.length - 1;
    if (p <= pts[0][0]) return rotate(pts[0][1], pts[0][2]);
    if (p >= pts[hi][0]) return rotate(pts[hi][1], pts[hi][2]);
    while (hi - lo > 1) {
      const mid = (lo + hi) >> 1;
      if (pts[mid][0] <= p) lo = mid; else hi = mid;
    }
    const a = pts[lo], b = pts[hi];
    const t = (p - a[0]) / Math.max(1, b[0] - a[0]);
    return rotate(a[1] + t * (b[1] - a[1]), a[2] + t * (b[2] - a[2]));
  }

  function canvasSize(c) {
    const r = c.getBoundingClientRect();
    return [Math.max(1, r.width), Math.max(1, r.height)];
  }

  function toScreen(u, v) {
    const [w, h] = canvasSize(planCanvas);
    const s = state.view.scale;
    return [w / 2 + (u - state.view.u) * s, h / 2 - (v - state.view.v) * s];
  }
  function screenAt(p) { const [u, v] = worldAt(p); return toScreen(u, v); }

  function fit() {
    const pts = state.overview;
    const [w, h] = canvasSize(planCanvas);
    if (!pts.length) { state.view = { u: 0, v: 0, scale: 1 }; return; }
    let minU = Infinity, maxU = -Infinity, minV = Infinity, maxV = -Infinity;
    for (const q of pts) {
      const [u, v] = rotate(q[1], q[2]);
      minU = Math.min(minU, u); maxU = Math.max(maxU, u);
      minV = Math.min(minV, v); maxV = Math.max(maxV, v);
    }
    // Room at the sides for the names of the first and last stations.
    const marginX = Math.min(110, w / 5), marginY = 50;
    const scale = Math.min((w - 2 * marginX) / Math.max(maxU - minU, 1), (h - 2 * marginY) / Math.max(maxV - minV, 1));
    state.view = { u: (minU + maxU) / 2, v: (minV + maxV) / 2, scale: scale };
    state.moved = false;
    state.detail = null;
  }

  // ---- the model ---------------------------------------------------------

  function applyModel(m) {
    const first = !state.model;
    const oldLength = state.model ? state.model.length : -1;
    state.model = m;
    state.overview = m.plan || [];
    if (state.overview.length > 1) {
      const a = state.overview[0], b = state.overview[state.overview.length - 1];
      state.angle = Math.atan2(b[2] - a[2], b[1] - a[1]);
    } else state.angle = 0;
    state.cos = Math.cos(state.angle);
    state.sin = Math.sin(state.angle);
    if (first || !state.moved || m.length !== oldLength) fit();
    $("title").textContent = (m.name || "Scenario") + ", train " + (m.train || "?");
    document.title = (m.name || "Scenario") + " " + (m.train || "") + " – scenario view";
    showStatus(m);
    showLineStop(m);
    showErrors(m);
    showTimetable(m);
    showRunningTimes(m);
    showDocuments(m);
    draw();
    state.drawn = { version: m.version, at: Date.now() };
    window.viewerDrawn = state.drawn;
    requestDetail();
    // The selection stays: its cell and source line are asked for again.
    if (state.cell !== null) selectCell(state.cell, { keepSource: true });
    if (state.source) showSource(state.source.source, state.source.line);
  }

  // After a reader error in the line description the run description is not
  // read at all: the page says so over the plan, drawn as far as it was read.
  function showLineStop(m) {
    const note = $("plan-note");
    const stop = m.line_stop;
    note.hidden = !stop;
    if (!stop) return;
    note.textContent = "The run description was not read: reading the line description stopped at line " +
      stop.line + " (error " + stop.number + ": " + stop.message + "). The line is drawn as far as it was read, to " +
      km(stop.read_to) + " of " + km(m.route_length) + "; no station, signal or slowdown is known.";
  }

  function showStatus(m) {
    const s = $("status");
    const st = m.status || { kind: "waiting", text: "" };
    s.className = st.kind;
    if (st.kind === "waiting") s.textContent = st.text;
    else {
      let t = "compiled at " + clock(m.compiled_at_ms) + " in " + m.compile_ms + " ms";
      if (st.kind === "stopped") t += " · " + st.text;
      else if (m.errors.length) t += " · " + m.errors.length + (m.errors.length === 1 ? " error" : " errors");
      const w = (m.warnings || []).length;
      if (w) t += " · " + w + (w === 1 ? " warning" : " warnings");
      s.textContent = t;
    }
    s.title = s.textContent;
  }

  // Errors and warnings as one list in file and line order (the line
  // description first), in the order the model gives.
  function problems(m) {
    if (!m.problem_order) return m.errors.concat(m.warnings || []);
    return m.problem_order.map(([kind, i]) => (kind === "error" ? m.errors[i] : m.warnings[i]));
  }

  // A second place of an entry, as a link to its source line.
  function relatedLink(r) {
    const which = sourceOfFile(r.file);
    const link = el("a", { href: "#", class: "related" }, r.file + ":" + r.line);
    link.addEventListener("click", (ev) => {
      ev.preventDefault();
      ev.stopPropagation();
      if (which) showSource(which, r.line);
    });
    return el("div", { class: "related-place" }, link, " " + r.message);
  }

  function showErrors(m) {
    const list = $("errors");
    list.replaceChildren();
    const all = problems(m);
    $("error-count").textContent = all.length ? "(" + all.length + ")" : "";
    if (!all.length) {
      list.append(el("li", { class: "none note" }, "none"));
      list.lastChild.style.border = "none";
      list.lastChild.style.background = "none";
      return;
    }
    all.forEach((e, i) => {
      const code = field(e, "number") !== null ? field(e, "number") : field(e, "code");
      const line = field(e, "line");
      const file = field(e, "file");
      const where = file ? file + (line ? ":" + line : "") : "";
      const severity = field(e, "severity") || "error";
      const li = el("li", { class: severity + (i === state.selectedError ? " selected" : ""), "data-code": code, "data-line": line || "" },
        el("span", { class: "code" }, severity + " " + code), " ",
        el("span", { class: "where" }, where), el("br"),
        field(e, "message") || "");
      for (const r of e.related || []) li.append(relatedLink(r));
      const consequences = e.consequences || [];
      if (consequences.length) {
        // What the reader misread because of this entry, folded under it.
        const folded = el("details", { class: "consequences" },
          el("summary", {}, "and " + consequences.length + (consequences.length === 1 ? " consequence" : " consequences")));
        for (const c of consequences)
          folded.append(relatedLink({ file: c.file, line: c.line, message: "[" + c.code + "] " + c.message }));
        folded.addEventListener("click", (ev) => ev.stopPropagation());
        li.append(folded);
      }
      li.addEventListener("click", () => selectError(i));
      list.append(li);
    });
  }

  function showTimetable(m) {
    const body = $("timetable").tBodies[0];
    body.replaceChildren();
    for (const st of m.stations) {
      const tr = el("tr", {}, el("td", { class: "num" }, (st.position / 1000).toFixed(3)), el("td", { class: "station" }, st.name),
        el("td", {}, st.arrival), el("td", {}, st.departure));
      tr.addEventListener("click", () => {
        selectCell(st.cell);
        centreOn(st.position);
      });
      body.append(tr);
    }
  }

  // ---- the driver's documents ------------------------------------------------

  // The documents left open stay open through updates, errors included.
  const openDocuments = new Set();

  function showDocuments(m) {
    const box = $("documents");
    const d = m.documents;
    if (!d) return;
    if (d.error) {
      box.replaceChildren(el("p", { class: "note" }, d.error));
      return;
    }
    const parts = [["card", "Train card"], ["order", "Slow order"], ["notes", "Notes"]];
    box.replaceChildren(...parts.map(([key, title]) => {
      const attrs = { class: "document", "data-document": key };
      if (openDocuments.has(key)) attrs.open = "";
      const x = el("details", attrs, el("summary", {}, title), el("pre", { id: "document-" + key }, d[key]));
      x.addEventListener("toggle", () => { if (x.open) openDocuments.add(key); else openDocuments.delete(key); });
      return x;
    }));
  }

  // ---- drawing -------------------------------------------------------------

  function prepare(c) {
    const [w, h] = canvasSize(c);
    const ratio = window.devicePixelRatio || 1;
    if (c.width !== Math.round(w * ratio) || c.height !== Math.round(h * ratio)) {
      c.width = Math.round(w * ratio);
      c.height = Math.round(h * ratio);
    }
    const g = c.getContext("2d");
    g.setTransform(ratio, 0, 0, ratio, 0, 0);
    g.clearRect(0, 0, w, h);
    return [g, w, h];
  }

  // The points between from and to: the finer stretch where there is one,
  // the overview elsewhere.
  function pointsBetween(from, to) {
    const d = state.detail;
    const fine = d && d.version === state.model.version && d.points.length > 1 ? d : null;
    const out = [];
    for (const q of state.overview) {
      if (q[0] <= from) continue;
      if (q[0] >= to) break;
      if (fine && q[0] >= fine.from && q[0] <= fine.to) continue;
      out.push(q);
    }
    if (fine && fine.to > from && fine.from < to) {
      for (const q of fine.points) if (q[0] > from && q[0] < to) out.push(q);
      out.sort((a, b) => a[0] - b[0]);
    }
    return out;
  }

  // The stretch from..to as a screen path.
  function stretch(g, from, to) {
    g.beginPath();
    let [x, y] = screenAt(from);
    g.moveTo(x, y);
    for (const q of pointsBetween(from, to)) {
      [x, y] = toScreen(...rotate(q[1], q[2]));
      g.lineTo(x, y);
    }
    [x, y] = screenAt(to);
    g.lineTo(x, y);
  }

  function drawPlan() {
    const [g, w, h] = prepare(planCanvas);
    const m = state.model;
    if (!m || !state.view) return;
    g.lineCap = "round";
    g.lineJoin = "round";
    // Tunnels, under the line.
    for (const t of m.tunnels) {
      stretch(g, t.from, t.to);
      g.strokeStyle = "#8d8d8d";
      g.lineWidth = 9;
      g.stroke();
    }
    // The line.
    if (state.overview.length) {
      stretch(g, 0, m.length);
      g.strokeStyle = "#222";
      g.lineWidth = 2;
      g.stroke();
    }
    // Slowdowns, over it.
    for (const s of m.slowdowns) {
      stretch(g, s.from, Math.max(s.to, s.from + 1));
      g.strokeStyle = "rgba(230,126,34,0.85)";
      g.lineWidth = 6;
      g.stroke();
    }
    // The selected cell.
    if (state.cellSpan) {
      stretch(g, state.cellSpan[0], state.cellSpan[1]);
      g.strokeStyle = "#d0206f";
      g.lineWidth = 10;
      g.stroke();
    }
    // Kilometre marks: a round step that keeps them 70 px or more apart.
    const pxPerKm = state.view.scale * 1000;
    const step = [1, 2, 5, 10, 20, 50, 100, 200, 500].find((k) => k * pxPerKm >= 70) || 1000;
    g.fillStyle = "#666";
    for (let k = 0; k * 1000 <= m.length; k += step) {
      const [x, y] = screenAt(k * 1000);
      if (x < -50 || y < -50 || x > w + 50 || y > h + 50) continue;
      g.fillRect(x - 1.5, y - 1.5, 3, 3);
    }
    // Signals.
    for (const s of m.signals) {
      const [x, y] = screenAt(s.position);
      if (x < -10 || y < -10 || x > w + 10 || y > h + 10) continue;
      g.beginPath();
      g.arc(x, y, 3.5, 0, 2 * Math.PI);
      g.fillStyle = "#c0392b";
      g.fill();
    }
    // Stations; their names and the other labels are placed by the server.
    for (const st of m.stations) {
      const [x, y] = screenAt(st.position);
      g.fillStyle = "#1f5fbf";
      g.fillRect(x - 5, y - 5, 10, 10);
    }
    showLabels();
    for (const [p, colour] of [[state.mark, "#d0206f"], [state.hover, "#2d6cdf"]]) {
      if (p === null) continue;
      const [x, y] = screenAt(p);
      g.beginPath();
      g.arc(x, y, 7, 0, 2 * Math.PI);
      g.strokeStyle = colour;
      g.lineWidth = 2.5;
      g.stroke();
    }
  }

  // The stretch of the route the plan shows: the whole route when fitted,
  // else the positions of the plan's points on its canvas. The profile
  // zooms with the plan by drawing this stretch.
  function profileRange() {
    const m = state.model;
    if (!state.moved || !state.view || state.overview.length < 2) return [0, Math.max(m.length, 1)];
    const [w, h] = canvasSize(planCanvas);
    let from = Infinity, to = -Infinity;
    for (const q of pointsBetween(-1, m.length + 1)) {
      const [x, y] = toScreen(...rotate(q[1], q[2]));
      if (x >= 0 && x <= w && y >= 0 && y <= h) { from = Math.min(from, q[0]); to = Math.max(to, q[0]); }
    }
    if (!isFinite(from)) return [0, Math.max(m.length, 1)];
    return [from, Math.max(to, from + 50)];
  }

  function profileGeometry() {
    const [w, h] = canvasSize(profileCanvas);
    const m = state.model;
    const [a, b] = profileRange();
    const [lo, hi] = m.profile_band;
    const left = 54, right = 12, top = 22, bottom = 34;
    return {
      w, h, left, right, top, bottom, lo, hi, a, b,
      x: (p) => left + ((p - a) / (b - a)) * (w - left - right),
      y: (e) => top + (hi - e) / (hi - lo) * (h - top - bottom),
      p: (x) => Math.min(b, Math.max(a, a + (x - left) / (w - left - right) * (b - a))),
    };
  }

  // [from, to, value] stretches: the value at position p.
  function stretchValue(list, p) {
    for (const s of list || []) if (p >= s[0] && p < s[1]) return s[2];
    return list && list.length && p >= list[list.length - 1][1] ? list[list.length - 1][2] : null;
  }
  function elevationAt(p) {
    const pr = state.model.profile;
    for (let i = 0; i + 1 < pr.length; i++)
      if (p >= pr[i][0] && p <= pr[i + 1][0])
        return pr[i][1] + (pr[i + 1][1] - pr[i][1]) * (p - pr[i][0]) / Math.max(1, pr[i + 1][0] - pr[i][0]);
    return pr.length ? pr[pr.length - 1][1] : 0;
  }
  // The permitted speed at p: the speed band's stretches ([from, to,
  // permitted, ...]), the line's limits lowered over the slowdowns.
  function permittedSpeedAt(p) { return state.model.speed ? stretchValue(state.model.speed.stretches, p) : null; }

  // What the profile's hover says at position p.
  function profileHoverText(p) {
    const g = stretchValue(state.model.gradients, p);
    const v = permittedSpeedAt(p);
    return (p / 1000).toFixed(3) + " km · " + elevationAt(p).toFixed(1) + " m · " +
      (g === null ? "" : (g > 0 ? "+" : "") + g + " ‰ · ") + (v === null ? "" : v + " km/h");
  }

  // The profile's per mille values under the curve, where their stretch is
  // wide enough, and its distance scale.
  function drawProfileScales(g, f) {
    const base = f.h - f.bottom;
    g.font = "10px DejaVu Sans Mono, monospace";
    g.textAlign = "center";
    let lastEnd = -Infinity;
    for (const [from, to, pm] of state.model.gradients || []) {
      if (to <= f.a || from >= f.b) continue;
      const x0 = Math.max(f.left, f.x(from)), x1 = Math.min(f.w - f.right, f.x(to));
      if (x0 - lastEnd >= 3) {
        g.fillStyle = "#aaa";
        g.fillRect(x0, base, 0.8, 6);
        lastEnd = x0;
      }
      const text = (pm > 0 ? "+" : "") + pm;
      if (x1 - x0 < text.length * 6 + 8) continue;
      g.fillStyle = "#4f6b2f";
      g.fillText(text, (x0 + x1) / 2, base + 12);
    }
    g.fillStyle = "#666";
    const pxPerKm = 1000 * (f.w - f.left - f.right) / (f.b - f.a);
    const step = [1, 2, 5, 10, 20, 50, 100, 200, 500].find((k) => k * pxPerKm >= 60) || 1000;
    for (let k = Math.ceil(f.a / 1000 / step) * step; k * 1000 <= f.b; k += step) {
      const x = f.x(k * 1000);
      g.fillRect(x - 0.5, base + 15, 1, 5);
      g.fillText(k + " km", Math.min(f.w - 24, Math.max(f.left, x)), base + 30);
    }
  }

  function drawProfile() {
    const [g] = prepare(profileCanvas);
    const m = state.model;
    if (!m || !m.profile.length) return;
    const f = profileGeometry();
    g.save();
    g.beginPath();
    g.rect(f.left, 0, f.w - f.left - f.right, f.h);
    g.clip();
    g.beginPath();
    g.moveTo(f.x(m.profile[0][0]), f.h - f.bottom);
    for (const q of m.profile) g.lineTo(f.x(q[0]), f.y(q[1]));
    g.lineTo(f.x(m.profile[m.profile.length - 1][0]), f.h - f.bottom);
    g.closePath();
    g.fillStyle = "#dfe8d4";
    g.fill();
    g.beginPath();
    m.profile.forEach((q, i) => (i ? g.lineTo(f.x(q[0]), f.y(q[1])) : g.moveTo(f.x(q[0]), f.y(q[1]))));
    g.strokeStyle = "#4f6b2f";
    g.lineWidth = 1.5;
    g.stroke();
    g.restore();
    g.fillStyle = "#666";
    g.font = "11px DejaVu Sans, Arial, sans-serif";
    g.textAlign = "right";
    g.fillText(Math.round(f.hi) + " m", f.left - 4, f.top + 4);
    g.fillText(Math.round(f.lo) + " m", f.left - 4, f.h - f.bottom);
    drawProfileScales(g, f);
    g.save();
    g.beginPath();
    g.rect(f.left, 0, f.w - f.left - f.right, f.h);
    g.clip();
    for (const t of m.tunnels) {
      g.fillStyle = "rgba(120,120,120,0.35)";
      g.fillRect(f.x(t.from), f.top - 8, Math.max(1, f.x(t.to) - f.x(t.from)), 5);
    }
    for (const st of m.stations) {
      const x = f.x(st.position);
      g.fillStyle = "rgba(31,95,191,0.35)";
      g.fillRect(x - 0.5, f.top - 2, 1, f.h - f.top - f.bottom + 2);
    }
    for (const [p, colour] of [[state.mark, "#d0206f"], [state.hover, "#2d6cdf"]]) {
      if (p === null) continue;
      g.fillStyle = colour;
      g.fillRect(f.x(p) - 1, 4, 2, f.h - f.bottom - 4);
    }
    g.restore();
  }

  function draw() {
    if (!state.model) return;
    drawPlan();
    drawProfile();
    drawSpeed();
  }

  // ---- the speed band (speed_band.js) ------------------------------------------

  function drawSpeed() {
    const [g, w, h] = prepare(speedCanvas);
    if (window.speedBand && state.model) window.speedBand.draw(g, w, h, profileGeometry(), state.model, state.hover, state.mark);
  }
  function speedAt(x) {
    const f = profileGeometry();
    const p = f.p(x);
    // A board within 6 pixels.
    const near = Math.abs(f.p(x + 6) - p);
    return { p, info: window.speedBand ? window.speedBand.at(state.model, p, near) : null };
  }
  function showRunningTimes(m) {
    if (!window.speedBand) return;
    window.speedBand.showRunningTimes(m, $("running-times"), (r) => {
      const st = m.stations.find((s) => s.slot === r.to.slot);
      if (!st) return;
      state.mark = st.position;
      selectCell(st.cell);
      centreOn(st.position);
    });
  }
  speedCanvas.addEventListener("click", (ev) => {
    if (!state.model) return;
    const { p, info } = speedAt(local(ev, speedCanvas)[0]);
    state.mark = p;
    centreOn(p);
    const line = info ? info.line : null;
    selectCell(info && info.cell !== null ? info.cell : { metre: p }, { keepSource: !!line });
    if (line) showSource(line.source, line.line);
  });

  // ---- labels ---------------------------------------------------------------

  // The plan's labels come from the server, placed for the view shown (the
  // same placement as the SVG's): no name is clipped and no two overlap at
  // any zoom. While the view moves, the last labels are hidden until the
  // placement for the new view arrives.
  const labelLayer = $("plan-labels");
  const SVG = "http://www.w3.org/2000/svg";
  const labelColours = { station: "#1f3f7f", km: "#666", slowdown: "#b35900", board: "#555" };

  function labelView() {
    const [w, h] = canvasSize(planCanvas);
    const r = (x) => Math.round(x * 1000) / 1000;
    return { w: r(w), h: r(h), u: r(state.view.u), v: r(state.view.v), scale: state.view.scale, angle: state.angle };
  }
  function labelKey(view) { return [state.model.version, view.w, view.h, view.u, view.v, view.scale, view.angle].join(" "); }

  let labelTimer = null;
  function requestLabels() {
    clearTimeout(labelTimer);
    labelTimer = setTimeout(fetchLabels, 40);
  }
  async function fetchLabels() {
    if (!state.model || !state.view) return;
    const view = labelView();
    const key = labelKey(view);
    if (state.labels && state.labels.key === key) return;
    const q = Object.entries(view).map(([k, v]) => k + "=" + v).join("&");
    try {
      const r = await getJson("/labels?" + q);
      if (!state.model || labelKey(labelView()) !== key) return;
      state.labels = { key, font: r.font, list: r.labels };
      state.labelsShown = null;
      showLabels();
    } catch (e) { /* the next move asks again */ }
  }

  function showLabels() {
    if (!state.model || !state.view) return;
    const current = state.labels && state.labels.key === labelKey(labelView()) ? state.labels : null;
    if (!current) requestLabels();
    if (state.labelsShown === current && labelLayer.childElementCount) return;
    state.labelsShown = current;
    labelLayer.replaceChildren();
    if (!current) return;
    for (const l of current.list) {
      const colour = labelColours[l.kind] || "#333";
      if (l.leader) {
        const line = document.createElementNS(SVG, "line");
        const [px, py] = l.point;
        const [x0, y0, x1, y1] = l.box;
        for (const [k, v] of [["x1", px], ["y1", py], ["x2", Math.min(x1, Math.max(x0, px))], ["y2", Math.min(y1, Math.max(y0, py))]])
          line.setAttribute(k, v);
        line.setAttribute("stroke", colour);
        line.setAttribute("stroke-width", "0.7");
        labelLayer.append(line);
      }
      const t = document.createElementNS(SVG, "text");
      t.setAttribute("x", l.x);
      t.setAttribute("y", l.baseline);
      t.setAttribute("font-family", current.font);
      t.setAttribute("font-size", l.size);
      if (l.kind === "station") t.setAttribute("font-weight", "bold");
      if (l.kind === "board") t.setAttribute("font-style", "italic");
      t.setAttribute("fill", colour);
      t.setAttribute("class", "label " + l.kind);
      t.textContent = l.text;
      labelLayer.append(t);
    }
  }

  // ---- finer plan on zoom -----------------------------------------------

  let detailTimer = null;
  function requestDetail() {
    clearTimeout(detailTimer);
    detailTimer = setTimeout(fetchDetail, 120);
  }
  async function fetchDetail() {
    const m = state.model;
    if (!m || state.overview.length < 2) return;
    const [w, h] = canvasSize(planCanvas);
    let from = Infinity, to = -Infinity;
    for (const q of state.overview) {
      const [x, y] = toScreen(...rotate(q[1], q[2]));
      if (x >= -w * 0.25 && x <= w * 1.25 && y >= -h * 0.25 && y <= h * 1.25) {
        from = Math.min(from, q[0]);
        to = Math.max(to, q[0]);
      }
    }
    if (!isFinite(from)) return;
    const gap = state.overview[1][0] - state.overview[0][0];
    from = Math.max(0, from - gap);
    to = Math.min(m.length, to + gap);
    // Enough points that no segment is longer than about two pixels.
    const wanted = Math.min(8000, Math.ceil((to - from) * state.view.scale / 2));
    if (wanted <= (to - from) / gap) return;  // the overview is already as fine
    const version = m.version;
    try {
      const points = await getJson("/plan?from=" + Math.floor(from) + "&to=" + Math.ceil(to) + "&points=" + wanted);
      if (!state.model || state.model.version !== version) return;
      state.detail = { from, to, version, points };
      draw();
    } catch (e) { /* the next move asks again */ }
  }

  // ---- selection ---------------------------------------------------------

  // Selects a cell by its index, or ({ metre: p }) the cell whose stretch
  // holds a metre along the route: the server says which, and its span.
  let cellRequest = 0;
  async function selectCell(where, options) {
    const byMetre = typeof where === "object";
    const ticket = ++cellRequest;
    const box = $("cell");
    let c;
    try { c = await getJson("/cell?" + (byMetre ? "metre=" + where.metre : "index=" + where)); } catch (e) {
      if (ticket !== cellRequest) return;
      state.cell = null;
      state.cellSpan = null;
      draw();
      box.replaceChildren(el("p", { class: "note" }, byMetre ? "no cell at " + where.metre + " m" : "no cell " + where));
      return;
    }
    if (ticket !== cellRequest) return;
    state.cell = c.index;
    state.cellSpan = [c.from, c.to];
    draw();
    const rows = Object.entries(c.fields).map(([k, v]) => el("tr", {}, el("td", {}, k), el("td", { class: "num" }, v)));
    const sentences = [c.kind];
    if (c.station) sentences.push("station " + c.station);
    if (c.board) sentences.push("board “" + c.board + "”");
    sentences.push(c.speed_kmh + " km/h", "gradient " + c.gradient_permille + " ‰");
    const parts = [
      el("div", { id: "cell-title" }, "cell " + c.index + " (" + c.from + " to " + c.to + " m): ", el("b", { id: "cell-kind" }, sentences.join(", "))),
      el("table", { class: "fields", id: "cell-fields" }, ...rows),
    ];
    const origin = el("div", { class: "origin", id: "cell-origin" });
    if (c.item) {
      const link = el("a", { href: "#", class: "file" }, c.item.file + ":" + c.item.line);
      link.addEventListener("click", (ev) => { ev.preventDefault(); showSource(c.item.source, c.item.line); });
      origin.append("what stands in it: the " + c.item.element + " on ", link);
    } else if (c.stamps) {
      origin.append("the compile stamps the scenario's identity here (dato1 and dato2); no item may stand in it");
    } else if (c.fields.tipo !== 0) {
      origin.append("the compile recorded no source line for what stands in it");
    } else {
      origin.append("nothing stands in it");
    }
    origin.append(el("br"), el("span", { class: "note" },
      "speed, adhesion and gradient: the compile records no source line for a cell's profile values"));
    parts.push(origin);
    box.replaceChildren(...parts);
    if (c.item && !(options && options.keepSource)) showSource(c.item.source, c.item.line);
  }

  async function showSource(which, line) {
    state.source = { source: which, line };
    const box = $("source");
    let s;
    try { s = await getJson("/source?file=" + which + "&line=" + line + "&context=12"); } catch (e) { return; }
    const pre = el("pre", { class: "lines" });
    s.lines.forEach((text, i) => {
      const n = s.first + i;
      const span = el("span", { class: n === s.line ? "current" : "", "data-line": n }, el("span", { class: "n" }, n), text);
      span.addEventListener("click", () => locate(which, n));
      pre.append(span);
    });
    box.replaceChildren(el("div", { class: "file-name" }, s.file + ", line " + s.line + " of " + s.total), pre);
    const current = pre.querySelector(".current");
    if (current) pre.scrollTop = current.offsetTop - pre.clientHeight / 2;
  }

  // Where the items of a source line lie, from the compile's record of them.
  async function locate(which, line) {
    let r;
    try { r = await getJson("/locate?file=" + which + "&line=" + line); } catch (e) { return; }
    await showSource(which, line);
    const note = $("source").querySelector(".file-name");
    if (!r.cells.length && !r.positions.length) {
      note.append(" · this line placed no item in a cell");
      return;
    }
    const p = r.positions[0];
    state.mark = p;
    centreOn(p);
    if (r.cell !== null) selectCell(r.cell, { keepSource: true });
  }

  function selectError(i) {
    const e = problems(state.model)[i];
    state.selectedError = i;
    showErrors(state.model);
    const which = sourceOfFile(field(e, "file"));
    const line = field(e, "line");
    if (which && line) showSource(which, line);
    const p = field(e, "position");
    if (p !== null) {
      state.mark = p;
      centreOn(p);
      const cell = state.model.problem_order ? state.model.problem_order[i][2] : null;
      if (cell !== null && cell !== undefined) selectCell(cell, { keepSource: true });
    }
  }

  // Brings a position into view when it is outside.
  function centreOn(p) {
    const [w, h] = canvasSize(planCanvas);
    const [x, y] = screenAt(p);
    if (x < 20 || y < 20 || x > w - 20 || y > h - 20) {
      const [u, v] = worldAt(p);
      state.view.u = u;
      state.view.v = v;
      state.moved = true;
      requestDetail();
    }
    draw();
  }

  // ---- pointer and keys ----------------------------------------------------

  function nearestPosition(mx, my) {
    let best = null, bestD = Infinity;
    const consider = (pts) => {
      for (let i = 0; i + 1 < pts.length; i++) {
        const [ax, ay] = toScreen(...rotate(pts[i][1], pts[i][2]));
        const [bx, by] = toScreen(...rotate(pts[i + 1][1], pts[i + 1][2]));
        const dx = bx - ax, dy = by - ay;
        const len2 = dx * dx + dy * dy;
        const t = len2 > 0 ? Math.max(0, Math.min(1, ((mx - ax) * dx + (my - ay) * dy) / len2)) : 0;
        const d = Math.hypot(ax + t * dx - mx, ay + t * dy - my);
        if (d < bestD) { bestD = d; best = pts[i][0] + t * (pts[i + 1][0] - pts[i][0]); }
      }
    };
    consider(pointsBetween(-1, state.model.length + 1));
    return bestD <= 24 ? { p: best, d: bestD } : null;
  }

  // An item marker under the pointer: its cell.
  function itemAt(mx, my) {
    const m = state.model;
    const items = [];
    for (const s of m.signals) items.push([s.position, s.cell]);
    for (const st of m.stations) items.push([st.position, st.cell]);
    for (const b of m.boards) items.push([b.position, b.cell]);
    for (const s of m.slowdowns) items.push([s.from, s.cell]);
    let best = null, bestD = 8;
    for (const [p, cell] of items) {
      const [x, y] = screenAt(p);
      const d = Math.hypot(x - mx, y - my);
      if (d < bestD) { bestD = d; best = { p, cell }; }
    }
    return best;
  }

  function showHover(p, clientX, clientY, words) {
    state.hover = p;
    if (p === null) { hoverBox.hidden = true; draw(); return; }
    const box = $("drawing").getBoundingClientRect();
    hoverBox.hidden = false;
    hoverBox.textContent = words ? words(p) : (p / 1000).toFixed(3) + " km";
    hoverBox.style.left = (clientX - box.left + 14) + "px";
    hoverBox.style.top = (clientY - box.top + 14) + "px";
    draw();
  }

  function local(ev, c) { const r = c.getBoundingClientRect(); return [ev.clientX - r.left, ev.clientY - r.top]; }

  let drag = null;
  planCanvas.addEventListener("mousedown", (ev) => {
    const [x, y] = local(ev, planCanvas);
    drag = { x, y, u: state.view.u, v: state.view.v, moved: false };
    planCanvas.focus();
  });
  window.addEventListener("mousemove", (ev) => {
    if (!state.model) return;
    if (drag) {
      const [x, y] = local(ev, planCanvas);
      if (Math.abs(x - drag.x) + Math.abs(y - drag.y) > 3) drag.moved = true;
      if (drag.moved) {
        planCanvas.classList.add("dragging");
        state.view.u = drag.u - (x - drag.x) / state.view.scale;
        state.view.v = drag.v + (y - drag.y) / state.view.scale;
        state.moved = true;
        draw();
        requestDetail();
        return;
      }
    }
    if (ev.target === planCanvas) {
      const [x, y] = local(ev, planCanvas);
      const near = nearestPosition(x, y);
      showHover(near ? near.p : null, ev.clientX, ev.clientY);
    } else if (ev.target === profileCanvas) {
      const [x] = local(ev, profileCanvas);
      showHover(profileGeometry().p(x), ev.clientX, ev.clientY, profileHoverText);
    } else if (ev.target === speedCanvas) {
      const { p, info } = speedAt(local(ev, speedCanvas)[0]);
      showHover(p, ev.clientX, ev.clientY, info ? () => info.text : null);
    } else if (state.hover !== null) showHover(null);
  });
  window.addEventListener("mouseup", (ev) => {
    if (!drag) return;
    const wasDrag = drag.moved;
    drag = null;
    planCanvas.classList.remove("dragging");
    if (wasDrag || ev.target !== planCanvas || !state.model) return;
    const [x, y] = local(ev, planCanvas);
    const item = itemAt(x, y);
    if (item) { state.mark = item.p; selectCell(item.cell); return; }
    const near = nearestPosition(x, y);
    if (near) { state.mark = near.p; selectCell({ metre: near.p }); }
  });
  profileCanvas.addEventListener("click", (ev) => {
    if (!state.model) return;
    const [x] = local(ev, profileCanvas);
    const p = profileGeometry().p(x);
    state.mark = p;
    centreOn(p);
    selectCell({ metre: p });
  });

  function zoom(factor, x, y) {
    const [w, h] = canvasSize(planCanvas);
    if (x === undefined) { x = w / 2; y = h / 2; }
    const s = state.view.scale;
    const u = state.view.u + (x - w / 2) / s, v = state.view.v - (y - h / 2) / s;
    const ns = Math.min(50, Math.max(1e-5, s * factor));
    state.view.scale = ns;
    state.view.u = u - (x - w / 2) / ns;
    state.view.v = v + (y - h / 2) / ns;
    state.moved = true;
    draw();
    requestDetail();
  }
  planCanvas.addEventListener("wheel", (ev) => {
    if (!state.model) return;
    ev.preventDefault();
    const [x, y] = local(ev, planCanvas);
    zoom(Math.exp(-ev.deltaY * 0.0015), x, y);
  }, { passive: false });
  planCanvas.addEventListener("keydown", (ev) => {
    if (!state.model) return;
    const stepPx = 80 / state.view.scale;
    const actions = {
      "+": () => zoom(1.4), "=": () => zoom(1.4), "-": () => zoom(1 / 1.4),
      "0": () => { fit(); draw(); },
      ArrowLeft: () => { state.view.u -= stepPx; }, ArrowRight: () => { state.view.u += stepPx; },
      ArrowUp: () => { state.view.v += stepPx; }, ArrowDown: () => { state.view.v -= stepPx; },
    };
    const act = actions[ev.key];
    if (!act) return;
    ev.preventDefault();
    act();
    if (ev.key.startsWith("Arrow")) { state.moved = true; draw(); requestDetail(); }
  });
  window.addEventListener("resize", () => { if (state.model && !state.moved) fit(); draw(); requestDetail(); });

  // ---- the live connection ---------------------------------------------------

  function connect() {
    const events = new EventSource("/events");
    events.addEventListener("model", (ev) => applyModel(JSON.parse(ev.data)));
    events.addEventListener("error", () => {
      const s = $("status");
      if (events.readyState !== EventSource.OPEN) {
        s.className = "waiting";
        s.textContent = "connection to the viewer lost; trying again…";
      }
    });
  }

  // For tests and scripts: where a position is drawn, and what is shown.
  window.viewer = {
    screenOf: (p) => screenAt(p),
    version: () => (state.model ? state.model.version : -1),
    selectedCell: () => state.cell,
    stationPosition: (i) => state.model.stations[i].position,
    labelsShown: () => state.labelsShown !== null && state.labelsShown !== undefined,
  };

  connect();
})();
