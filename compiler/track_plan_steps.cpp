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

// Steps along the plan from point w on. The two points before w are kept as
// numbers: each step needs them, and reading them back from the plan would
// repeat the tag test at every point. The values are those the plan holds,
// so every point comes out to the same bits. The steps are always inlined
// into their loops (a sanitizer build would otherwise call them per point).
class passi {
public:
    passi(const coordinate& c, int32_t w)
        : c_(c),
          x0_(numero(c.x[w - 2])),
          y0_(numero(c.y[w - 2])),
          x1_(numero(c.x[w - 1])),
          y1_(numero(c.y[w - 1])) {}

    [[gnu::always_inline]] void dritto(int32_t w) {
        const double dx = x1_ - x0_;
        const double dy = y1_ - y0_;
        metti(w, x1_ + dx, y1_ + dy);
    }

    [[gnu::always_inline]] void curvo(int32_t w, double curvatura) {
        const double dx = x1_ - x0_;
        const double dy = y1_ - y0_;
        metti(w, x1_ + (dx + curvatura * dy), y1_ + (dy - curvatura * dx));
    }

private:
    [[gnu::always_inline]] void metti(int32_t w, double x, double y) {
        c_.x[w] = reale(x);
        c_.y[w] = reale(y);
        x0_ = x1_;
        y0_ = y1_;
        x1_ = x;
        y1_ = y;
    }

    coordinate c_;
    double x0_, y0_, x1_, y1_;
};
}  // namespace

void crea_tracciato(tracciato_linea& t, int32_t ultimo) {
    // Value-initialised in place rather than copied from an empty value: the
    // same plan, without a copy per value. Storage the plan already holds is
    // reused (a caller compiling many scenarios in turn hands it back).
    t.ultimo_punto = ultimo;
    t.valori.clear();
    t.valori.resize(2 * t.punti());
}

void inizia_tracciato(tracciato_linea& t) {
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
    if (w > inizio && w > fine)
        return esito_curva::tracciata;
    passi p(coordinate_per(t, w, std::max<int64_t>(inizio, fine)), w);
    while (w <= inizio) {
        p.dritto(w);
        if (++w > ultimo_punto_curve)
            return esito_curva::oltre_limite;
    }
    while (w <= fine) {
        p.curvo(w, curvatura);
        if (++w > ultimo_punto_curve)
            return esito_curva::oltre_limite;
    }
    return esito_curva::tracciata;
}

void completa_dritto(tracciato_linea& t, int32_t& w) {
    if (w > t.ultimo_punto - 2)
        return;
    passi p(coordinate_per(t, w, t.ultimo_punto - 2), w);
    for (; w <= t.ultimo_punto - 2; ++w)
        p.dritto(w);
}

}  // namespace scenario
