// The scenario viewer's page: draws the model the server pushes, asks for a
// finer plan on zoom, and shows cells and source lines on request. This
// module takes the pointer and keys and keeps the live connection; the
// others (view_*.js, speed_band.js) are loaded before it.
"use strict";

(function (V) {
  const $ = V.$;
  const applyModel = (...a) => V.applyModel(...a);
  const canvasSize = (...a) => V.canvasSize(...a);
  const centreOn = (...a) => V.centreOn(...a);
  const draw = (...a) => V.draw(...a);
  const fit = (...a) => V.fit(...a);
  const getJson = (...a) => V.getJson(...a);
  const hoverBox = V.hoverBox;
  const planCanvas = V.planCanvas;
  const pointsBetween = (...a) => V.pointsBetween(...a);
  const profileCanvas = V.profileCanvas;
  const profileGeometry = (...a) => V.profileGeometry(...a);
  const profileHoverText = (...a) => V.profileHoverText(...a);
  const requestDetail = (...a) => V.requestDetail(...a);
  const rotate = (...a) => V.rotate(...a);
  const screenAt = (...a) => V.screenAt(...a);
  const selectCell = (...a) => V.selectCell(...a);
  const speedAt = (...a) => V.speedAt(...a);
  const speedCanvas = V.speedCanvas;
  const state = V.state;
  const toScreen = (...a) => V.toScreen(...a);

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

  // The hover at metre p: `words` is fixed text, or builds it from the
  // server's answer for p (its km, height and gradient), which the page
  // never works out itself; an answer overtaken by a later move is dropped.
  let hoverAsk = 0;
  function showHover(p, clientX, clientY, words) {
    state.hover = p;
    const ask = ++hoverAsk;
    if (p === null) { hoverBox.hidden = true; draw(); return; }
    const box = $("drawing").getBoundingClientRect();
    // A box shown afresh starts empty; a moving one keeps its words until the answer.
    if (hoverBox.hidden) hoverBox.textContent = "";
    hoverBox.hidden = false;
    if (typeof words === "string") hoverBox.textContent = words;
    else
      getJson("/at?metre=" + p).then((at) => {
        if (ask === hoverAsk) hoverBox.textContent = words ? words(at) : at.km + " km";
      }).catch(() => {});
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
      const p = profileGeometry().p(x);
      showHover(p, ev.clientX, ev.clientY, (at) => profileHoverText(p, at));
    } else if (ev.target === speedCanvas) {
      const { p, info } = speedAt(local(ev, speedCanvas)[0]);
      showHover(p, ev.clientX, ev.clientY, info ? info.text : null);
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
    hoverMetre: () => state.hover,
    stationPosition: (i) => state.model.stations[i].position,
    labelsShown: () => state.labelsShown !== null && state.labelsShown !== undefined,
  };

  connect();

  Object.assign(V, { local });
})(window.scenarioView);
