// The per-metre track plan: each point follows from the two before it, so the
// plan is a chain of unit steps along the route, straight or turning.
#pragma once

#include "compiler/state.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace scenario {

// The highest plan point a curve line may compute; a curve that needs a point
// beyond it is refused (error 103).
inline constexpr int32_t ultimo_punto_curve = 1000000;

// Makes points 0..ultimo, every value empty, and no runs (the plan's storage is
// filled here, with the per-point steps; without `keep_points` there is none).
void crea_tracciato(tracciato_linea& t, int32_t ultimo);

// Points 0 and 1 as 16-bit integers: the plan starts at the origin heading
// along +y, one metre per point.
void inizia_tracciato(tracciato_linea& t);

// The curvature per metre a curve keyword names: its first class digit 1..6,
// turned to the other side when the keyword holds an "s" (either case).
// Nothing when the keyword holds no class digit.
std::optional<double> curvatura_parola(std::string_view parola);

// How tracing a curve line ended.
enum class esito_curva {
    tracciata,
    oltre_limite,     // a point beyond ultimo_punto_curve was needed (the points up to there are computed)
    fuori_tracciato,  // the curve starts or ends beyond the last point of the plan (nothing computed)
};

// Traces a curve line: straight points from `w` through `inizio`, then curved
// points through `inizio` + `lunghezza`; `w` ends on the first point not yet computed.
esito_curva traccia_curva(tracciato_linea& t, int32_t& w, int32_t inizio, int32_t lunghezza,
                          double curvatura);

// Straight points from `w` through the third-last point of the plan; the last
// two points stay as they are.
void completa_dritto(tracciato_linea& t, int32_t& w);

}  // namespace scenario
