// The speed band under the gradient profile, and the running times beside the
// timetable: drawn from the model's "speed" part. view.js calls it with the
// profile's distance axis, so both share position and zoom.
"use strict";

window.speedBand = (function () {
  const colours = {
    permitted: "#2d6cdf", fill: "rgba(45,108,223,0.12)", line: "#8aa6d8",
    slowdown: "#c0392b", slowdownFill: "rgba(192,57,43,0.18)", board: "#7d5ba6", station: "rgba(31,95,191,0.45)",
  };

  // The stretch at position p, or null.
  function stretchAt(sp, p) {
    const list = sp.stretches;
    let lo = 0, hi = list.length - 1;
    while (lo <= hi) {
      const mid = (lo + hi) >> 1;
      if (p < list[mid][0]) hi = mid - 1;
      else if (p >= list[mid][1]) lo = mid + 1;
      else return list[mid];
    }
    return null;
  }

  function boardText(b) { return b.values.slice(0, 3).join("/"); }

  // g: the band's context, w and h its size; ax: {x(p), left, right} of the
  // profile's axis; m: the model; hover, mark: positions or null.
  let lastAxis = null;  // for tests and scripts: where the band last drew a position

  function draw(g, w, h, ax, m, hover, mark) {
    lastAxis = ax;
    const sp = m.speed;
    if (!sp) return;
    const top = 16, bottom = 28;  // room under the frame for the marks and the legend
    const hi = sp.scale_top;
    const y = (v) => top + (1 - v / hi) * (h - top - bottom);
    const clipLeft = ax.left, clipRight = w - ax.right;
    g.save();
    g.beginPath();
    g.rect(clipLeft, 0, clipRight - clipLeft, h);
    g.clip();
    // Slowdowns: their stretch, their advance and approach cells.
    for (const s of sp.slowdowns) {
      const x0 = ax.x(s.from), x1 = ax.x(s.to);
      if (x1 < clipLeft || x0 > clipRight) continue;
      g.fillStyle = colours.slowdownFill;
      g.fillRect(x0, top, Math.max(2, x1 - x0), h - top - bottom);
      g.fillStyle = colours.slowdown;
      if (s.advance_cell !== null) {
        const xa = ax.x(s.advance_at);
        g.beginPath();
        g.moveTo(xa, h - bottom); g.lineTo(xa - 4, h - bottom + 7); g.lineTo(xa + 4, h - bottom + 7);
        g.fill();
      }
      for (const at of s.approach_at) g.fillRect(ax.x(at) - 0.5, h - bottom, 1, 5);
    }
    // The line's limit where a slowdown lowers it, then the permitted speed.
    g.strokeStyle = colours.line;
    g.setLineDash([3, 3]);
    g.lineWidth = 1;
    for (const s of sp.stretches) {
      if (s[4] === null) continue;
      g.beginPath(); g.moveTo(ax.x(s[0]), y(s[3])); g.lineTo(ax.x(s[1]), y(s[3])); g.stroke();
    }
    g.setLineDash([]);
    g.beginPath();
    let started = false;
    for (const s of sp.stretches) {
      const x0 = ax.x(s[0]), x1 = ax.x(s[1]);
      if (!started) { g.moveTo(x0, y(s[2])); started = true; } else g.lineTo(x0, y(s[2]));
      g.lineTo(x1, y(s[2]));
    }
    g.strokeStyle = colours.permitted;
    g.lineWidth = 1.5;
    g.stroke();
    if (started) {
      g.lineTo(ax.x(sp.stretches[sp.stretches.length - 1][1]), y(0));
      g.lineTo(ax.x(sp.stretches[0][0]), y(0));
      g.closePath();
      g.fillStyle = colours.fill;
      g.fill();
    }
    g.font = "10px DejaVu Sans, Arial, sans-serif";
    g.textAlign = "center";
    // The slowdowns' speeds, where there is room.
    for (const s of sp.slowdowns) {
      const x0 = ax.x(s.from), x1 = ax.x(s.to);
      g.fillStyle = colours.slowdown;
      g.fillText(String(s.speed), (x0 + x1) / 2, Math.min(y(s.speed) + 12, h - bottom - 2));
    }
    // Timed stations.
    const timed = new Set();
    for (const r of sp.running_times) { timed.add(r.from.slot); timed.add(r.to.slot); }
    for (const st of m.stations) {
      if (!timed.has(st.slot)) continue;
      g.fillStyle = colours.station;
      g.fillRect(ax.x(st.position) - 0.5, top, 1, h - top - bottom);
    }
    // Boards: a diamond at the top, and their values as written where they
    // have room before the next board.
    g.fillStyle = colours.board;
    for (const b of sp.boards) {
      const x = ax.x(b.position);
      g.beginPath();
      g.moveTo(x, 3); g.lineTo(x + 4, 7); g.lineTo(x, 11); g.lineTo(x - 4, 7);
      g.fill();
    }
    g.textAlign = "left";
    let lastRight = -Infinity;
    sp.boards.forEach((b, k) => {
      const x = ax.x(b.position);
      const text = boardText(b);
      const end = x + 6 + g.measureText(text).width;
      const next = k + 1 < sp.boards.length ? ax.x(sp.boards[k + 1].position) - 5 : w - ax.right;
      if (x + 6 <= lastRight || end > next) return;
      g.fillText(text, x + 6, 11);
      lastRight = end + 6;
    });
    for (const [p, colour] of [[mark, "#d0206f"], [hover, "#2d6cdf"]]) {
      if (p === null) continue;
      g.fillStyle = colour;
      g.fillRect(ax.x(p) - 1, 2, 2, h - 4);
    }
    g.restore();
    g.fillStyle = "#666";
    g.textAlign = "right";
    g.fillText(hi + " km/h", ax.left - 4, top + 4);
    g.fillText("0", ax.left - 4, h - bottom);
  }

  // What the band shows at p: words for the hover, the cell (a board's; null:
  // the cell under p) and source line for a click. A board within `near`
  // metres comes first.
  function at(m, p, near) {
    const sp = m.speed;
    if (!sp) return null;
    for (const b of sp.boards) {
      if (Math.abs(b.position - p) <= near)
        return {
          text: "maximum-speed board at " + b.km + " km: " + b.values.slice(0, 3).join(", ") +
            " km/h (a " + b.values[0] + "|" + b.values[4] + ", b " + b.values[1] + "|" + b.values[5] + ", c " +
            b.values[2] + "|" + b.values[6] + (b.as_written ? "" : ", read back from the cell") + ")",
          cell: b.cell, line: b.line ? { source: "line", line: b.line } : null,
        };
    }
    const s = stretchAt(sp, p);
    if (!s) return null;
    // The km of p comes with the server's answer for it.
    const text = (at) => at.km + " km: permitted " + s[2] + " km/h" +
      (s[4] !== null ? " (slowdown; the line allows " + s[3] + ")" : "");
    return { text, cell: null, line: s[6] !== null ? { source: "run", line: s[6] } : null };
  }

  function duration(s) {
    if (s === null || s === undefined) return "–";
    const t = Math.round(s);
    return Math.floor(t / 60) + ":" + String(t % 60).padStart(2, "0");
  }

  // One row per pair of timing points: scheduled, bound, estimate, margin.
  function showRunningTimes(m, table, onRow) {
    const body = table.tBodies[0];
    body.replaceChildren();
    const sp = m.speed;
    if (!sp) return;
    for (const r of sp.running_times) {
      const tr = document.createElement("tr");
      if (r.below_bound) tr.className = "below-bound";
      const cells = [
        r.from.station + " → " + r.to.station + (r.dwell ? " (" + r.dwell + " s stop)" : ""),
        duration(r.scheduled), duration(r.bound), duration(r.estimate),
        r.margin_percent === null ? "–" : (r.margin_percent > 0 ? "+" : "") + r.margin_percent.toFixed(0) + " %",
      ];
      cells.forEach((c, i) => {
        const td = document.createElement("td");
        td.textContent = c;
        if (i) td.className = "num";
        tr.append(td);
      });
      tr.title = r.below_bound ? "scheduled below the time at the permitted speed all the way" : "";
      tr.addEventListener("click", () => onRow(r));
      body.append(tr);
    }
    const model = sp.train_model;
    table.caption.textContent = "Running times (m:ss). Bound: at the permitted speed all the way, with the stop; no train " +
      "is faster. Estimate: a train of " + model.length + " m accelerating at " + model.acceleration + " m/s² and braking at " +
      model.braking + " m/s² (the tool's assumptions). Margin: scheduled against the estimate.";
  }

  return { draw, at, showRunningTimes, screenOf: (p) => (lastAxis ? lastAxis.x(p) : null) };
})();
