// The per-point steps of the track plan: each point follows from the two
// before it. A long route runs them a million times; the fuzz build compiles
// this file without coverage instrumentation (every point takes the same
// branches, so tracing them finds nothing and costs most of a run). The loops
// therefore work on the plan's storage directly, checked once per run of
// steps, and call nothing that another file may have compiled with tracing.
#include "compiler/track_plan.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace scenario {

namespace {
using etichetta = valore_tracciato::etichetta;

// The x values, then the y values, of points 0..ultimo_punto.
struct coordinate {
    valore_tracciato* x;
    valore_tracciato* y;
};

// Points `primo` - 2 through `ultimo` lie in the plan, or the caller has a bug.
coordinate coordinate_per(tracciato_linea& t, int64_t primo, int64_t ultimo) {
    if (primo < 2 || ultimo > t.ultimo_punto || t.valori.size() != 2 * t.punti())
        throw std::logic_error("track plan steps outside the plan");
    return {t.valori.data(), t.valori.data() + t.punti()};
}

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

void dritto(const coordinate& c, int32_t w) {
    const double dx = numero(c.x[w - 1]) - numero(c.x[w - 2]);
    const double dy = numero(c.y[w - 1]) - numero(c.y[w - 2]);
    c.x[w] = reale(numero(c.x[w - 1]) + dx);
    c.y[w] = reale(numero(c.y[w - 1]) + dy);
}

void curvo(const coordinate& c, int32_t w, double curvatura) {
    const double dx = numero(c.x[w - 1]) - numero(c.x[w - 2]);
    const double dy = numero(c.y[w - 1]) - numero(c.y[w - 2]);
    c.x[w] = reale(numero(c.x[w - 1]) + (dx + curvatura * dy));
    c.y[w] = reale(numero(c.y[w - 1]) + (dy - curvatura * dx));
}
}  // namespace

void crea_tracciato(tracciato_linea& t, int32_t ultimo) {
    // Value-initialised in place rather than copied from an empty value: the
    // same plan, without a copy per value.
    t.ultimo_punto = ultimo;
    t.valori = std::vector<valore_tracciato>(2 * t.punti());
}

void inizia_tracciato(tracciato_linea& t) {
    constexpr int x = 0;
    constexpr int y = 1;
    t.at(0, x) = valore_tracciato::da_intero(0);
    t.at(0, y) = valore_tracciato::da_intero(0);
    t.at(1, x) = valore_tracciato::da_intero(0);
    t.at(1, y) = valore_tracciato::da_intero(1);
}

void passo_dritto(tracciato_linea& t, int32_t w) {
    dritto(coordinate_per(t, w, w), w);
}

void passo_curvo(tracciato_linea& t, int32_t w, double curvatura) {
    curvo(coordinate_per(t, w, w), w, curvatura);
}

esito_curva traccia_curva(tracciato_linea& t, int32_t& w, int32_t inizio, int32_t lunghezza,
                          double curvatura) {
    const int64_t fine = int64_t(inizio) + lunghezza;
    if (inizio > t.ultimo_punto || fine > t.ultimo_punto)
        return esito_curva::fuori_tracciato;
    if (w > inizio && w > fine)
        return esito_curva::tracciata;
    const coordinate c = coordinate_per(t, w, std::max<int64_t>(inizio, fine));
    while (w <= inizio) {
        dritto(c, w);
        if (++w > ultimo_punto_curve)
            return esito_curva::oltre_limite;
    }
    while (w <= fine) {
        curvo(c, w, curvatura);
        if (++w > ultimo_punto_curve)
            return esito_curva::oltre_limite;
    }
    return esito_curva::tracciata;
}

void completa_dritto(tracciato_linea& t, int32_t& w) {
    if (w > t.ultimo_punto - 2)
        return;
    const coordinate c = coordinate_per(t, w, t.ultimo_punto - 2);
    for (; w <= t.ultimo_punto - 2; ++w)
        dritto(c, w);
}

}  // namespace scenario
