// The page's panels from a model: its status, the errors, the timetable and
// the driver's documents.
"use strict";

(function (V) {
  const $ = V.$;
  const centreOn = (...a) => V.centreOn(...a);
  const clock = (...a) => V.clock(...a);
  const draw = (...a) => V.draw(...a);
  const el = (...a) => V.el(...a);
  const field = (...a) => V.field(...a);
  const fit = (...a) => V.fit(...a);
  const requestDetail = (...a) => V.requestDetail(...a);
  const selectCell = (...a) => V.selectCell(...a);
  const selectError = (...a) => V.selectError(...a);
  const showRunningTimes = (...a) => V.showRunningTimes(...a);
  const showSource = (...a) => V.showSource(...a);
  const sourceOfFile = (...a) => V.sourceOfFile(...a);
  const state = V.state;

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
      stop.read_to_km + " of " + m.route_length_km + "; no station, signal or slowdown is known.";
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
      const tr = el("tr", {}, el("td", { class: "num" }, st.km), el("td", { class: "station" }, st.name),
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

  Object.assign(V, { applyModel, problems, showErrors });
})(window.scenarioView);
