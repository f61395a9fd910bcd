// The plan's labels as the server places them for the view shown, and the
// finer plan asked for on zoom.
"use strict";

(function (V) {
  const $ = V.$;
  const canvasSize = (...a) => V.canvasSize(...a);
  const draw = (...a) => V.draw(...a);
  const getJson = (...a) => V.getJson(...a);
  const planCanvas = V.planCanvas;
  const rotate = (...a) => V.rotate(...a);
  const state = V.state;
  const toScreen = (...a) => V.toScreen(...a);

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

  Object.assign(V, { showLabels, requestDetail });
})(window.scenarioView);
