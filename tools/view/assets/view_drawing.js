// The page's canvases: the track plan, the gradient profile under it and the
// speed band (speed_band.js) on the profile's axis.
"use strict";

(function (V) {
  const $ = V.$;
  const canvasSize = (...a) => V.canvasSize(...a);
  const centreOn = (...a) => V.centreOn(...a);
  const local = (...a) => V.local(...a);
  const planCanvas = V.planCanvas;
  const profileCanvas = V.profileCanvas;
  const rotate = (...a) => V.rotate(...a);
  const screenAt = (...a) => V.screenAt(...a);
  const selectCell = (...a) => V.selectCell(...a);
  const showLabels = (...a) => V.showLabels(...a);
  const showSource = (...a) => V.showSource(...a);
  const speedCanvas = V.speedCanvas;
  const state = V.state;
  const toScreen = (...a) => V.toScreen(...a);

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
    if (window.geoOverlay) window.geoOverlay.drawUnder(g, (x, y) => toScreen(...rotate(x, y)), m.version);
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
  // The permitted speed at p: the speed band's stretches ([from, to,
  // permitted, ...]), the line's limits lowered over the slowdowns.
  function permittedSpeedAt(p) { return state.model.speed ? stretchValue(state.model.speed.stretches, p) : null; }

  // What the profile's hover says at position p: the server's words for it
  // (km, height, gradient), then the permitted speed.
  function profileHoverText(p, at) {
    const v = permittedSpeedAt(p);
    return at.words + (v === null ? "" : v + " km/h");
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

  Object.assign(V, { pointsBetween, profileGeometry, profileHoverText, draw, speedAt, showRunningTimes });
})(window.scenarioView);
