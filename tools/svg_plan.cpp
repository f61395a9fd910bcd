#include "tools/svg_plan.h"

#include "tools/text_encoding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>
#include <string_view>

namespace scenario::tool {

namespace {

constexpr double larghezza = 1400;
constexpr double margine = 50;
constexpr double utile = larghezza - 2 * margine;
constexpr double cima_piano = 96;
constexpr double altezza_massima_piano = 520;
constexpr double altezza_profilo = 230;
constexpr std::size_t punti_massimi_linea = 4000;
constexpr int righe_nomi_profilo =
    4;  // rows of station names above the profile  // the drawn line is thinned to this many points

// One decimal is finer than a pixel; the C locale never applies to to_chars.
std::string num(double v) {
    if (std::fabs(v) < 0.05)
        v = 0;
    char b[32];
    const auto r = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, 1);
    return std::string(b, static_cast<std::size_t>(r.ptr - b));
}

// Text and attribute values; attributes are always in double quotes, so an
// apostrophe stays as it is (some renderers do not decode &apos;).
std::string xml(std::string_view utf8) {
    std::string out;
    for (char c : valid_utf8(utf8)) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                // XML 1.0 allows no control characters other than tab, LF and CR.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
                    out += ' ';
                else
                    out.push_back(c);
        }
    }
    return out;
}

std::string km(int64_t metri) {
    if (metri % 1000 == 0)
        return std::to_string(metri / 1000) + " km";
    return num(static_cast<double>(metri) / 1000.0) + " km";
}

struct punto {
    double x = 0;
    double y = 0;
};

struct riquadro {
    double x0, y0, x1, y1;
    bool tocca(const riquadro& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

// A stretch of route [da, a] in metres.
struct tratto {
    int64_t da = 0;
    int64_t a = 0;
    int valore = 0;
};

class disegno {
public:
    explicit disegno(const plan_data& d) : d_(d) {}

    std::string esegui() {
        misura();
        const double fondo_piano = cima_piano + altezza_piano_ + 20;
        const double cima_profilo = fondo_piano + 40 + righe_nomi_profilo * 15 + 34;
        const double altezza = cima_profilo + altezza_profilo + 70;
        svg_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        svg_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(larghezza) + "\" height=\"" +
                num(altezza) + "\" viewBox=\"0 0 " + num(larghezza) + " " + num(altezza) +
                "\" font-family=\"DejaVu Sans, Arial, sans-serif\">\n";
        svg_ += "<rect x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
        intestazione();
        piano();
        profilo(cima_profilo);
        svg_ += "</svg>\n";
        return std::move(svg_);
    }

private:
    // ---- the route and the transform of the plan --------------------------

    void misura() {
        if (d_.tracciato && d_.tracciato->esiste()) {
            const tracciato_linea& t = *d_.tracciato;
            ultimo_ = t.ultimo_punto;
            while (ultimo_ > 0 &&
                   t.at(static_cast<int32_t>(ultimo_), 0).tipo == valore_tracciato::etichetta::vuoto &&
                   t.at(static_cast<int32_t>(ultimo_), 1).tipo == valore_tracciato::etichetta::vuoto)
                --ultimo_;
            con_piano_ = true;
        }
        lunghezza_ = d_.voci[voce_treno].valore2;
        if (lunghezza_ <= 0)
            lunghezza_ = std::max<int64_t>(0, static_cast<int64_t>(d_.celle.size()) * 50 - 7000);
        if (con_piano_)
            lunghezza_ = std::min(lunghezza_, ultimo_);
        lunghezza_ = std::max<int64_t>(lunghezza_, 1);

        passo_ = std::max<int64_t>(1, lunghezza_ / static_cast<int64_t>(punti_massimi_linea));
        // The plan has no north: it is turned so that the line runs from left
        // to right, which suits a wide page best.
        const punto a = in_metri_grezzo(0);
        const punto b = in_metri_grezzo(lunghezza_);
        const double angolo = (b.x != a.x || b.y != a.y) ? std::atan2(b.y - a.y, b.x - a.x) : 0.0;
        coseno_ = std::cos(angolo);
        seno_ = std::sin(angolo);
        double minx = 1e300, maxx = -1e300, miny = 1e300, maxy = -1e300;
        for (int64_t m = 0;; m = std::min(m + passo_, lunghezza_)) {
            const punto p = in_metri(m);
            minx = std::min(minx, p.x);
            maxx = std::max(maxx, p.x);
            miny = std::min(miny, p.y);
            maxy = std::max(maxy, p.y);
            if (m == lunghezza_)
                break;
        }
        const double bw = std::max(maxx - minx, 1.0);
        const double bh = std::max(maxy - miny, 1.0);
        scala_ = std::min(utile / bw, altezza_massima_piano / bh);
        altezza_piano_ = std::max(bh * scala_, 40.0);
        minx_ = minx;
        maxy_ = maxy;
        ox_ = margine + (utile - bw * scala_) / 2;
        oy_ = cima_piano + (altezza_piano_ - bh * scala_) / 2;
    }

    punto in_metri_grezzo(int64_t m) const {
        if (!con_piano_)
            return {static_cast<double>(m), 0.0};
        const tracciato_linea& t = *d_.tracciato;
        const int32_t p = static_cast<int32_t>(std::clamp<int64_t>(m, 0, ultimo_));
        return {t.at(p, 0).numero(), t.at(p, 1).numero()};
    }
    punto in_metri(int64_t m) const {
        const punto p = in_metri_grezzo(m);
        return {coseno_ * p.x + seno_ * p.y, -seno_ * p.x + coseno_ * p.y};
    }
    punto sullo_schermo(int64_t m) const {
        const punto p = in_metri(m);
        return {ox_ + (p.x - minx_) * scala_, oy_ + (maxy_ - p.y) * scala_};
    }

    std::string linea_tra(int64_t da, int64_t a) const {
        da = std::clamp<int64_t>(da, 0, lunghezza_);
        a = std::clamp<int64_t>(a, 0, lunghezza_);
        std::string pts;
        const int64_t passo = std::max<int64_t>(1, std::min(passo_, (a - da) / 8 + 1));
        for (int64_t m = da;; m = std::min(m + passo, a)) {
            const punto p = sullo_schermo(m);
            pts += num(p.x) + "," + num(p.y) + " ";
            if (m >= a)
                break;
        }
        return pts;
    }

    // ---- what the cells and records hold ----------------------------------

    // Tunnels: runs of cells with a tunnel class, up to the end of the line.
    std::vector<tratto> gallerie() const {
        std::vector<tratto> t;
        for (std::size_t c = 0; c < d_.celle.size() && static_cast<int64_t>(c) * 50 < lunghezza_; ++c) {
            if (d_.celle[c].galleria == 0)
                continue;
            const int64_t da = static_cast<int64_t>(c) * 50;
            if (!t.empty() && t.back().a == da)
                t.back().a = da + 50;
            else
                t.push_back({da, da + 50, d_.celle[c].galleria});
        }
        return t;
    }

    // Slowdowns: from a start cell to the next end cell; an item in cell c
    // stands for the position 50 m before the cell (c - 1) * 50.
    std::vector<tratto> rallentamenti() const {
        std::vector<tratto> t;
        for (std::size_t c = 0; c < d_.celle.size(); ++c) {
            if (d_.celle[c].tipo != tipo_cella::inizio_rallentamento)
                continue;
            std::size_t e = c + 1;
            while (e < d_.celle.size() && d_.celle[e].tipo != tipo_cella::fine_rallentamento)
                ++e;
            if (e >= d_.celle.size())
                e = c;
            t.push_back(
                {(static_cast<int64_t>(c) - 1) * 50, (static_cast<int64_t>(e) - 1) * 50, d_.celle[c].dato1});
        }
        return t;
    }

    std::vector<int64_t> segnali() const {
        std::vector<int64_t> s;
        for (std::size_t c = 0; c < d_.celle.size(); ++c)
            if (d_.celle[c].tipo == tipo_cella::segnale)
                s.push_back((static_cast<int64_t>(c) - 1) * 50);
        return s;
    }

    struct cartello {
        int64_t posizione;
        std::string testo;
    };
    std::vector<cartello> cartelli() const {
        std::vector<cartello> b;
        for (std::size_t c = 0; c < d_.celle.size(); ++c) {
            const cella& x = d_.celle[c];
            if (x.tipo != tipo_cella::cartello_galleria || x.dato1 < 1 || x.dato1 >= numero_voci)
                continue;
            b.push_back(
                {(static_cast<int64_t>(c) - 1) * 50, d_.voci[static_cast<std::size_t>(x.dato1)].testo});
        }
        return b;
    }

    // ---- labels that keep out of each other's way --------------------------

    // Places `testo` near (x, y), on the first side where it touches no
    // earlier label. `sempre`: placed even when every side is taken.
    bool etichetta(double x, double y, const std::string& testo, double corpo, const std::string& stile,
                   const std::string& colore, bool sempre) {
        std::size_t caratteri = 0;
        for (char c : from_windows1252(testo))
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
                ++caratteri;
        const double w = 0.6 * corpo * static_cast<double>(std::max<std::size_t>(caratteri, 1));
        struct prova {
            double x, y;
            const char* ancora;
            double x0;
        };
        const prova prove[] = {
            {x + 9, y + corpo * 0.35, "start", x + 9},
            {x - 9, y + corpo * 0.35, "end", x - 9 - w},
            {x, y - 9, "middle", x - w / 2},
            {x, y + 9 + corpo, "middle", x - w / 2},
        };
        const prova* scelta = nullptr;
        for (const prova& p : prove) {
            const riquadro r{p.x0, p.y - corpo, p.x0 + w, p.y + 3};
            if (r.x0 < 2 || r.x1 > larghezza - 2)
                continue;
            bool libero = true;
            for (const riquadro& o : occupati_)
                if (r.tocca(o)) {
                    libero = false;
                    break;
                }
            if (libero) {
                scelta = &p;
                break;
            }
        }
        if (!scelta) {
            if (!sempre)
                return false;
            scelta = &prove[0];
        }
        occupati_.push_back({scelta->x0, scelta->y - corpo, scelta->x0 + w, scelta->y + 3});
        testo_con_alone(scelta->x, scelta->y, corpo, scelta->ancora, stile, colore, from_windows1252(testo));
        return true;
    }

    // A text with a white halo under it, so it stays readable over the line.
    // The halo is a text of its own: not every renderer knows paint-order.
    void testo_con_alone(double x, double y, double corpo, const char* ancora, const std::string& stile,
                         const std::string& colore, const std::string& utf8) {
        const std::string inizio = "<text x=\"" + num(x) + "\" y=\"" + num(y) + "\" font-size=\"" +
                                   num(corpo) + "\" text-anchor=\"" + ancora + "\" " + stile;
        svg_ += inizio +
                " fill=\"#ffffff\" stroke=\"#ffffff\" stroke-width=\"3\" stroke-linejoin=\"round\">" +
                xml(utf8) + "</text>\n";
        svg_ += inizio + " fill=\"" + colore + "\">" + xml(utf8) + "</text>\n";
    }

    // ---- the parts of the drawing ------------------------------------------

    void intestazione() {
        const std::vector<drawn_station> st = stations_of(d_);
        std::string sotto = "route " + km(lunghezza_) + ", " + std::to_string(st.size()) + " stations, " +
                            std::to_string(segnali().size()) + " signals, " +
                            std::to_string(rallentamenti().size()) + " slowdowns, " +
                            std::to_string(gallerie().size()) + " tunnels";
        if (!con_piano_)
            sotto += " (no line file: the line is drawn straight)";
        svg_ += "<text x=\"" + num(margine) + "\" y=\"34\" font-size=\"20\" font-weight=\"bold\">" +
                xml(d_.title) + "</text>\n";
        svg_ += "<text x=\"" + num(margine) + "\" y=\"56\" font-size=\"13\" fill=\"#444\">" + xml(sotto) +
                "</text>\n";
        // Legend.
        double x = margine;
        const double y = 78;
        const auto voce_legenda = [&](const std::string& simbolo, const char* parola) {
            svg_ += simbolo;
            svg_ += "<text x=\"" + num(x + 30) + "\" y=\"" + num(y + 4) + "\" font-size=\"12\">" + parola +
                    "</text>\n";
            x += 38 + 7.2 * static_cast<double>(std::string_view(parola).size());
        };
        voce_legenda("<line x1=\"" + num(x) + "\" y1=\"" + num(y) + "\" x2=\"" + num(x + 24) + "\" y2=\"" +
                         num(y) + "\" stroke=\"#222\" stroke-width=\"3\"/>\n",
                     "line");
        voce_legenda("<line x1=\"" + num(x) + "\" y1=\"" + num(y) + "\" x2=\"" + num(x + 24) + "\" y2=\"" +
                         num(y) + "\" stroke=\"#7a6a58\" stroke-width=\"9\"/>\n",
                     "tunnel");
        voce_legenda("<line x1=\"" + num(x) + "\" y1=\"" + num(y) + "\" x2=\"" + num(x + 24) + "\" y2=\"" +
                         num(y) + "\" stroke=\"#f08c00\" stroke-width=\"6\"/>\n",
                     "slowdown (km/h)");
        voce_legenda("<circle cx=\"" + num(x + 12) + "\" cy=\"" + num(y) +
                         "\" r=\"3.5\" fill=\"#d62728\" stroke=\"#600\" stroke-width=\"0.8\"/>\n",
                     "signal");
        voce_legenda("<circle cx=\"" + num(x + 12) + "\" cy=\"" + num(y) +
                         "\" r=\"5\" fill=\"#ffffff\" stroke=\"#1f4e9c\" stroke-width=\"2.5\"/>\n",
                     "station");
    }

    void piano() {
        svg_ += "<g id=\"plan\">\n";
        for (const tratto& g : gallerie())
            svg_ += "<polyline points=\"" + linea_tra(g.da, g.a) +
                    "\" fill=\"none\" stroke=\"#7a6a58\" stroke-width=\"9\" stroke-linecap=\"butt\"/>\n";
        svg_ += "<polyline points=\"" + linea_tra(0, lunghezza_) +
                "\" fill=\"none\" stroke=\"#222\" stroke-width=\"2.5\" stroke-linejoin=\"round\"/>\n";
        for (const tratto& r : rallentamenti())
            svg_ += "<polyline points=\"" + linea_tra(r.da, r.a) +
                    "\" fill=\"none\" stroke=\"#f08c00\" stroke-width=\"6\" stroke-opacity=\"0.85\"/>\n";
        for (int64_t s : segnali()) {
            const punto p = sullo_schermo(s);
            svg_ += "<circle cx=\"" + num(p.x) + "\" cy=\"" + num(p.y) +
                    "\" r=\"3.5\" fill=\"#d62728\" stroke=\"#600\" stroke-width=\"0.8\"/>\n";
        }
        const punto inizio = sullo_schermo(0);
        const punto fine = sullo_schermo(lunghezza_);
        svg_ += "<rect x=\"" + num(inizio.x - 4) + "\" y=\"" + num(inizio.y - 4) +
                "\" width=\"8\" height=\"8\" fill=\"#222\"/>\n";
        svg_ += "<rect x=\"" + num(fine.x - 4) + "\" y=\"" + num(fine.y - 4) +
                "\" width=\"8\" height=\"8\" fill=\"#222\"/>\n";

        // Station names first: they matter most and are always placed.
        const std::string stile_stazione = "font-weight=\"bold\"";
        for (const drawn_station& s : stations_of(d_)) {
            const punto p = sullo_schermo(s.posizione);
            svg_ += "<circle cx=\"" + num(p.x) + "\" cy=\"" + num(p.y) +
                    "\" r=\"5\" fill=\"#ffffff\" stroke=\"#1f4e9c\" stroke-width=\"2.5\"/>\n";
            occupati_.push_back({p.x - 5, p.y - 5, p.x + 5, p.y + 5});
        }
        for (const drawn_station& s : stations_of(d_)) {
            const punto p = sullo_schermo(s.posizione);
            etichetta(p.x, p.y, s.nome, 13, stile_stazione, "#12336b", true);
        }
        const std::string stile_minore = "font-weight=\"bold\"";
        for (const tratto& r : rallentamenti()) {
            const punto p = sullo_schermo((r.da + r.a) / 2);
            etichetta(p.x, p.y, std::to_string(r.valore), 11, stile_minore, "#8a4b00", false);
        }
        const std::string stile_cartello = "font-style=\"italic\"";
        for (const cartello& b : cartelli()) {
            const punto p = sullo_schermo(b.posizione);
            etichetta(p.x, p.y, b.testo, 10, stile_cartello, "#5a4a38", false);
        }
        svg_ += "</g>\n";
    }

    void profilo(double cima) {
        const double fondo = cima + altezza_profilo;
        const auto x_di = [&](double m) { return margine + utile * m / static_cast<double>(lunghezza_); };

        // Elevation relative to the start, from the gradient of each cell.
        std::vector<std::pair<int64_t, double>> quote{{0, 0.0}};
        std::vector<tratto> pendenze;
        double h = 0, hmin = 0, hmax = 0;
        for (std::size_t c = 0; c < d_.celle.size() && static_cast<int64_t>(c) * 50 < lunghezza_; ++c) {
            const int g = static_cast<int>(d_.celle[c].pendenza) - 100;
            const int64_t da = static_cast<int64_t>(c) * 50;
            const int64_t a = std::min<int64_t>(da + 50, lunghezza_);
            h += g * static_cast<double>(a - da) / 1000.0;
            quote.emplace_back(a, h);
            hmin = std::min(hmin, h);
            hmax = std::max(hmax, h);
            if (!pendenze.empty() && pendenze.back().valore == g && pendenze.back().a == da)
                pendenze.back().a = a;
            else
                pendenze.push_back({da, a, g});
        }
        if (hmax - hmin < 10) {
            const double centro = (hmax + hmin) / 2;
            hmin = centro - 5;
            hmax = centro + 5;
        }
        const double cima_curva = cima + 28;  // room for the station names above the curve
        const auto y_di = [&](double q) {
            return fondo - (q - hmin) / (hmax - hmin) * (fondo - cima_curva - 4) - 2;
        };

        svg_ += "<g id=\"profile\">\n";
        const double y_titolo = cima - righe_nomi_profilo * 15 - 22;
        svg_ += "<text x=\"" + num(margine) + "\" y=\"" + num(y_titolo) +
                "\" font-size=\"14\" font-weight=\"bold\">Gradient profile</text>\n";
        svg_ += "<text x=\"" + num(margine + 140) + "\" y=\"" + num(y_titolo) +
                "\" font-size=\"12\" fill=\"#444\">elevation relative to the start (m); gradients in per "
                "mille</text>\n";
        svg_ += "<rect x=\"" + num(margine) + "\" y=\"" + num(cima) + "\" width=\"" + num(utile) +
                "\" height=\"" + num(altezza_profilo) +
                "\" fill=\"#f7f7f2\" stroke=\"#999\" stroke-width=\"1\"/>\n";

        // The elevation curve, thinned like the plan.
        std::string pts = num(x_di(0)) + "," + num(fondo) + " ";
        const std::size_t passo = std::max<std::size_t>(1, quote.size() / punti_massimi_linea);
        for (std::size_t i = 0; i < quote.size(); i += passo)
            pts += num(x_di(static_cast<double>(quote[i].first))) + "," + num(y_di(quote[i].second)) + " ";
        pts +=
            num(x_di(static_cast<double>(quote.back().first))) + "," + num(y_di(quote.back().second)) + " ";
        pts += num(x_di(static_cast<double>(quote.back().first))) + "," + num(fondo);
        svg_ +=
            "<polygon points=\"" + pts + "\" fill=\"#c9d9c0\" stroke=\"#4f7a3a\" stroke-width=\"1.5\"/>\n";

        // Elevation scale.
        for (double q : {hmin, (hmin + hmax) / 2, hmax}) {
            svg_ += "<text x=\"" + num(margine - 4) + "\" y=\"" + num(y_di(q) + 4) +
                    "\" font-size=\"10\" text-anchor=\"end\" fill=\"#555\">" + num(q) + " m</text>\n";
        }

        // Stations: a dashed line up from the profile to the name, the names
        // in rows above it so that near stations do not overwrite each other.
        std::vector<double> fine_riga(righe_nomi_profilo, -1e300);
        for (const drawn_station& s : stations_of(d_)) {
            if (s.posizione < 0 || s.posizione > lunghezza_)
                continue;
            const double x = x_di(static_cast<double>(s.posizione));
            const std::string nome = from_windows1252(s.nome);
            std::size_t caratteri = 0;
            for (char c : nome)
                if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
                    ++caratteri;
            const double w = 6.6 * static_cast<double>(caratteri);
            const double x0 = std::clamp(x - w / 2, 2.0, larghezza - 2 - w);
            int riga = righe_nomi_profilo - 1;
            for (int r = righe_nomi_profilo - 1; r >= 0; --r) {
                if (fine_riga[static_cast<std::size_t>(r)] + 14 < x0) {
                    riga = r;
                    break;
                }
            }
            fine_riga[static_cast<std::size_t>(riga)] = x0 + w;
            const double y_nome = cima - 8 - (righe_nomi_profilo - 1 - riga) * 15;
            svg_ += "<line x1=\"" + num(x) + "\" y1=\"" + num(y_nome + 3) + "\" x2=\"" + num(x) + "\" y2=\"" +
                    num(fondo) + "\" stroke=\"#1f4e9c\" stroke-width=\"1\" stroke-dasharray=\"4 3\"/>\n";
            testo_con_alone(x0, y_nome, 11, "start", "", "#12336b", nome);
        }

        // Gradient values under the curve, where a stretch is wide enough.
        const double riga_pendenze = fondo + 14;
        double ultima_tacca = -1e300;
        for (const tratto& p : pendenze) {
            const double x0 = x_di(static_cast<double>(p.da));
            const double x1 = x_di(static_cast<double>(p.a));
            // On a long route the changes of gradient come closer than a few
            // pixels: their marks would merge into a band.
            if (x0 - ultima_tacca >= 3) {
                ultima_tacca = x0;
                svg_ += "<line x1=\"" + num(x0) + "\" y1=\"" + num(fondo) + "\" x2=\"" + num(x0) +
                        "\" y2=\"" + num(fondo + 18) + "\" stroke=\"#999\" stroke-width=\"0.8\"/>\n";
            }
            if (x1 - x0 < 30)
                continue;
            const std::string valore = (p.valore > 0 ? "+" : "") + std::to_string(p.valore);
            svg_ += "<text x=\"" + num((x0 + x1) / 2) + "\" y=\"" + num(riga_pendenze) +
                    "\" font-size=\"10\" text-anchor=\"middle\" fill=\"#4f7a3a\">" + xml(valore) +
                    "</text>\n";
        }

        // Distance scale.
        int64_t passo_km = 1;
        for (int64_t candidato : {1, 2, 5, 10, 20, 50, 100, 200, 500}) {
            passo_km = candidato;
            if (lunghezza_ / (candidato * 1000) <= 20)
                break;
        }
        const double riga_km = fondo + 40;
        for (int64_t m = 0; m <= lunghezza_; m += passo_km * 1000) {
            const double x = x_di(static_cast<double>(m));
            svg_ += "<line x1=\"" + num(x) + "\" y1=\"" + num(fondo + 22) + "\" x2=\"" + num(x) + "\" y2=\"" +
                    num(fondo + 28) + "\" stroke=\"#333\" stroke-width=\"1\"/>\n";
            svg_ += "<text x=\"" + num(x) + "\" y=\"" + num(riga_km) +
                    "\" font-size=\"10\" text-anchor=\"middle\" fill=\"#333\">" + km(m) + "</text>\n";
        }
        svg_ += "</g>\n";
    }

    const plan_data& d_;
    std::string svg_;
    bool con_piano_ = false;
    int64_t ultimo_ = 0;     // last plan point that holds a value
    int64_t lunghezza_ = 1;  // metres of line drawn
    int64_t passo_ = 1;      // metres between drawn points
    double scala_ = 1, minx_ = 0, maxy_ = 0, ox_ = 0, oy_ = 0, altezza_piano_ = 40;
    double coseno_ = 1, seno_ = 0;  // the turn of the plan
    std::vector<riquadro> occupati_;
};

}  // namespace

std::vector<drawn_station> stations_of(const plan_data& d) {
    std::set<int> cartelli;
    for (const cella& c : d.celle)
        if (c.tipo == tipo_cella::cartello_galleria)
            cartelli.insert(c.dato1);
    std::vector<drawn_station> st;
    for (int i = 1; i <= prima_voce_cartelli; ++i) {
        if (cartelli.count(i))
            continue;
        const voce& v = d.voci[static_cast<std::size_t>(i)];
        if (v.testo.empty() && v.tipo == 0 && v.valore1 == 0 && v.valore2 == 0 && v.valore3 == 0)
            break;
        st.push_back({i, v.valore3, v.testo});
    }
    return st;
}

std::string draw_plan(const plan_data& d) {
    return disegno(d).esegui();
}

}  // namespace scenario::tool
