#include "compiler/track_plan.h"

namespace scenario {

namespace {
constexpr int x = 0;
constexpr int y = 1;

struct passo {
    double dx;
    double dy;
};

passo passo_precedente(const tracciato_linea& t, int32_t w) {
    return {t.at(w - 1, x).numero() - t.at(w - 2, x).numero(),
            t.at(w - 1, y).numero() - t.at(w - 2, y).numero()};
}
}  // namespace

void inizia_tracciato(tracciato_linea& t) {
    t.at(0, x) = valore_tracciato::da_intero(0);
    t.at(0, y) = valore_tracciato::da_intero(0);
    t.at(1, x) = valore_tracciato::da_intero(0);
    t.at(1, y) = valore_tracciato::da_intero(1);
}

void passo_dritto(tracciato_linea& t, int32_t w) {
    const passo p = passo_precedente(t, w);
    t.at(w, x) = valore_tracciato::da_reale(t.at(w - 1, x).numero() + p.dx);
    t.at(w, y) = valore_tracciato::da_reale(t.at(w - 1, y).numero() + p.dy);
}

void passo_curvo(tracciato_linea& t, int32_t w, double curvatura) {
    const passo p = passo_precedente(t, w);
    t.at(w, x) = valore_tracciato::da_reale(t.at(w - 1, x).numero() + (p.dx + curvatura * p.dy));
    t.at(w, y) = valore_tracciato::da_reale(t.at(w - 1, y).numero() + (p.dy - curvatura * p.dx));
}

std::optional<double> curvatura_parola(std::string_view parola) {
    // Curve classes, gentlest first; the first digit found in this order wins.
    struct classe {
        char cifra;
        double curvatura;
    };
    constexpr classe classi[] = {{'1', 0.0001}, {'2', 0.0002}, {'3', 0.0004},
                                 {'4', 0.001},  {'5', 0.002},  {'6', 0.003}};
    for (const classe& c : classi) {
        if (parola.find(c.cifra) == std::string_view::npos)
            continue;
        const bool sinistra = parola.find_first_of("sS") != std::string_view::npos;
        return sinistra ? -c.curvatura : c.curvatura;
    }
    return std::nullopt;
}

esito_curva traccia_curva(tracciato_linea& t, int32_t& w, int32_t inizio, int32_t lunghezza,
                          double curvatura) {
    const int64_t fine = int64_t(inizio) + lunghezza;
    if (inizio > t.ultimo_punto || fine > t.ultimo_punto)
        return esito_curva::fuori_tracciato;
    while (w <= inizio) {
        passo_dritto(t, w);
        if (++w > ultimo_punto_curve)
            return esito_curva::oltre_limite;
    }
    while (w <= fine) {
        passo_curvo(t, w, curvatura);
        if (++w > ultimo_punto_curve)
            return esito_curva::oltre_limite;
    }
    return esito_curva::tracciata;
}

void completa_dritto(tracciato_linea& t, int32_t& w) {
    for (; w <= t.ultimo_punto - 2; ++w)
        passo_dritto(t, w);
}

}  // namespace scenario
