// The page's shared state, its small helpers and the plan's geometry: the
// first of the page's modules, which share them through window.scenarioView.
"use strict";

window.scenarioView = {};

(function (V) {
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

  Object.assign(V, { $, planCanvas, profileCanvas, speedCanvas, hoverBox, state, el, clock, getJson, sourceOfFile, field, rotate, worldAt, canvasSize, toScreen, screenAt, fit });
})(window.scenarioView);
