// The per-point steps of the track plan: each point follows from the two
// before it. A long route runs them a million times; the fuzz build compiles
// this file without coverage instrumentation (every point takes the same
// branches, so tracing them finds nothing and costs most of a run). The loops
// therefore work on the plan's storage directly, checked once per run of
// steps, and call nothing that another file may have compiled with tracing.
#include "compiler/plan_stepper.h"
#include "compiler/track_plan.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace scenario {

namespace {
using etichetta = valore_tracciato::etichetta;

// The numeric value whatever the tag (an empty value counts as 0), as
// valore_tracciato::numero.
double numero(const valore_tracciato& v) {
    return v.tipo == etichetta::reale ? v.reale : v.tipo == etichetta::intero ? double(v.intero) : 0.0;
}

valore_tracciato reale(double v) {
    valore_tracciato r;
    r.tipo = etichetta::reale;
    r.reale = v;
    return r;
}

// Records the run and, when the plan keeps its points, computes them into
// `valori` from the two points before it. The run lies in the plan, or the
// caller has a bug.
void add_run(tracciato_linea& t, const plan_run& r) {
    if (r.first < 2 || r.last < r.first || r.last > t.ultimo_punto)
        throw std::logic_error("track plan steps outside the plan");
    if (!t.runs.empty() && t.runs.back().last + 1 != r.first)
        throw std::logic_error("track plan steps out of order");
    t.runs.push_back(r);
    if (!t.keep_points)
        return;
    if (t.valori.size() != 2 * t.punti())
        throw std::logic_error("track plan steps outside the plan");
    // Straight into the storage, checked once above, for every point.
    valore_tracciato* x = t.valori.data();
    valore_tracciato* y = x + t.punti();
    plan_stepper p(numero(x[r.first - 2]), numero(y[r.first - 2]), numero(x[r.first - 1]),
                   numero(y[r.first - 1]));
    p.run(r, [x, y](int32_t w, double xw, double yw) {
        x[w] = reale(xw);
        y[w] = reale(yw);
    });
}

// Steps from `w` through `to`, but at most one point at or beyond
// ultimo_punto_curve: past it a curve line is refused. False when the limit
// stopped the run.
bool curve_stretch(tracciato_linea& t, int32_t& w, int64_t to, bool curved, double curvature) {
    if (w > to)
        return true;
    const int32_t last = static_cast<int32_t>(std::min<int64_t>(to, std::max(w, ultimo_punto_curve)));
    add_run(t, {w, last, curved, curvature});
    w = last + 1;
    return last < ultimo_punto_curve;
}
}  // namespace

void crea_tracciato(tracciato_linea& t, int32_t ultimo) {
    // Value-initialised in place rather than copied from an empty value: the
    // same plan, without a copy per value. Storage the plan already holds is
    // reused (a caller compiling many scenarios in turn hands it back). A
    // plan that keeps only its runs takes no storage for points at all.
    t.ultimo_punto = ultimo;
    t.started = false;
    t.runs.clear();
    t.valori.clear();
    if (t.keep_points)
        t.valori.resize(2 * t.punti());
}

void inizia_tracciato(tracciato_linea& t) {
    t.started = true;
    if (!t.keep_points)
        return;
    constexpr int x = 0;
    constexpr int y = 1;
    t.at(0, x) = valore_tracciato::da_intero(0);
    t.at(0, y) = valore_tracciato::da_intero(0);
    t.at(1, x) = valore_tracciato::da_intero(0);
    t.at(1, y) = valore_tracciato::da_intero(1);
}

esito_curva traccia_curva(tracciato_linea& t, int32_t& w, int32_t inizio, int32_t lunghezza,
                          double curvatura) {
    const int64_t fine = int64_t(inizio) + lunghezza;
    if (inizio > t.ultimo_punto || fine > t.ultimo_punto)
        return esito_curva::fuori_tracciato;
    // The straight run-in, then the curve.
    if (!curve_stretch(t, w, inizio, false, 0.0) || !curve_stretch(t, w, fine, true, curvatura))
        return esito_curva::oltre_limite;
    return esito_curva::tracciata;
}

void completa_dritto(tracciato_linea& t, int32_t& w) {
    if (w > t.ultimo_punto - 2)
        return;
    add_run(t, {w, t.ultimo_punto - 2, false, 0.0});
    w = t.ultimo_punto - 1;
}

}  // namespace scenario
