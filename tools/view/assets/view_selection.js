// The selection: a cell with its fields and origin, a source line in its
// context, where a line's items lie, an error's place.
"use strict";

(function (V) {
  const $ = V.$;
  const canvasSize = (...a) => V.canvasSize(...a);
  const draw = (...a) => V.draw(...a);
  const el = (...a) => V.el(...a);
  const field = (...a) => V.field(...a);
  const getJson = (...a) => V.getJson(...a);
  const planCanvas = V.planCanvas;
  const problems = (...a) => V.problems(...a);
  const requestDetail = (...a) => V.requestDetail(...a);
  const screenAt = (...a) => V.screenAt(...a);
  const showErrors = (...a) => V.showErrors(...a);
  const sourceOfFile = (...a) => V.sourceOfFile(...a);
  const state = V.state;
  const worldAt = (...a) => V.worldAt(...a);

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

  Object.assign(V, { selectCell, showSource, selectError, centreOn });
})(window.scenarioView);
