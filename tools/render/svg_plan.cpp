#include "tools/render/svg_plan.h"

#include "compiler/route_facts.h"
#include "tools/report/text_encoding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>
#include <string_view>

namespace scenario::tool {

namespace {

constexpr double width = 1400;
constexpr double margin = 50;
constexpr double usable = width - 2 * margin;
constexpr double plan_top = 96;
constexpr double max_plan_height = 520;
constexpr double profile_height = 230;
constexpr std::size_t max_line_points = 4000;
constexpr int profile_name_rows =
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

std::string km(int64_t metres) {
    if (metres % 1000 == 0)
        return std::to_string(metres / 1000) + " km";
    return num(static_cast<double>(metres) / 1000.0) + " km";
}

struct point {
    double x = 0;
    double y = 0;
};

struct box {
    double x0, y0, x1, y1;
    bool touches(const box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

// A stretch of route [from, to] in metres, with a value (a speed, a gradient,
// a tunnel class).
struct stretch {
    int64_t from = 0;
    int64_t to = 0;
    int value = 0;
};

class drawing {
public:
    explicit drawing(const plan_data& d) : d_(d) {}

    std::string run() {
        measure();
        const double plan_bottom = plan_top + plan_height_ + 20;
        const double profile_top = plan_bottom + 40 + profile_name_rows * 15 + 34;
        const double height = profile_top + profile_height + 70;
        svg_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        svg_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(width) + "\" height=\"" +
                num(height) + "\" viewBox=\"0 0 " + num(width) + " " + num(height) +
                "\" font-family=\"DejaVu Sans, Arial, sans-serif\">\n";
        svg_ += "<rect x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
        header();
        plan();
        profile(profile_top);
        svg_ += "</svg>\n";
        return std::move(svg_);
    }

private:
    // ---- the route and the transform of the plan --------------------------

    void measure() {
        if (d_.tracciato && d_.tracciato->esiste()) {
            last_ = std::max<int64_t>(0, route::last_plan_point(*d_.tracciato));
            with_plan_ = true;
        }
        length_ = route::route_length(d_.celle, d_.voci);
        if (with_plan_)
            length_ = std::min(length_, last_);
        length_ = std::max<int64_t>(length_, 1);

        step_ = std::max<int64_t>(1, length_ / static_cast<int64_t>(max_line_points));
        // The plan has no north: it is turned so that the line runs from left
        // to right, which suits a wide page best.
        const point a = raw_in_metres(0);
        const point b = raw_in_metres(length_);
        const double angle = (b.x != a.x || b.y != a.y) ? std::atan2(b.y - a.y, b.x - a.x) : 0.0;
        cosine_ = std::cos(angle);
        sine_ = std::sin(angle);
        double minx = 1e300, maxx = -1e300, miny = 1e300, maxy = -1e300;
        for (int64_t m = 0;; m = std::min(m + step_, length_)) {
            const point p = in_metres(m);
            minx = std::min(minx, p.x);
            maxx = std::max(maxx, p.x);
            miny = std::min(miny, p.y);
            maxy = std::max(maxy, p.y);
            if (m == length_)
                break;
        }
        const double bw = std::max(maxx - minx, 1.0);
        const double bh = std::max(maxy - miny, 1.0);
        scale_ = std::min(usable / bw, max_plan_height / bh);
        plan_height_ = std::max(bh * scale_, 40.0);
        minx_ = minx;
        maxy_ = maxy;
        ox_ = margin + (usable - bw * scale_) / 2;
        oy_ = plan_top + (plan_height_ - bh * scale_) / 2;
    }

    point raw_in_metres(int64_t m) const {
        if (!with_plan_)
            return {static_cast<double>(m), 0.0};
        const tracciato_linea& t = *d_.tracciato;
        const int32_t p = static_cast<int32_t>(std::clamp<int64_t>(m, 0, last_));
        return {t.at(p, 0).numero(), t.at(p, 1).numero()};
    }
    point in_metres(int64_t m) const {
        const point p = raw_in_metres(m);
        return {cosine_ * p.x + sine_ * p.y, -sine_ * p.x + cosine_ * p.y};
    }
    point on_screen(int64_t m) const {
        const point p = in_metres(m);
        return {ox_ + (p.x - minx_) * scale_, oy_ + (maxy_ - p.y) * scale_};
    }

    std::string line_between(int64_t from, int64_t a) const {
        from = std::clamp<int64_t>(from, 0, length_);
        a = std::clamp<int64_t>(a, 0, length_);
        std::string pts;
        const int64_t step = std::max<int64_t>(1, std::min(step_, (a - from) / 8 + 1));
        for (int64_t m = from;; m = std::min(m + step, a)) {
            const point p = on_screen(m);
            pts += num(p.x) + "," + num(p.y) + " ";
            if (m >= a)
                break;
        }
        return pts;
    }

    // ---- what the cells and records hold ----------------------------------

    // Tunnels: runs of cells with a tunnel class, up to the end of the line.
    std::vector<stretch> tunnels() const {
        std::vector<stretch> t;
        for (const route::tunnel& g : route::tunnels(d_.celle, length_))
            t.push_back({g.from, g.to, g.tunnel_class});
        return t;
    }

    std::vector<stretch> slowdowns() const {
        std::vector<stretch> t;
        for (const route::slowdown& r : route::slowdowns(d_.celle))
            t.push_back({r.from, r.to, r.speed});
        return t;
    }

    std::vector<int64_t> signals() const {
        std::vector<int64_t> s;
        for (const route::signal& x : route::signals(d_.celle))
            s.push_back(x.position);
        return s;
    }

    std::vector<route::board> boards() const { return route::tunnel_boards(d_.celle, d_.voci); }

    // ---- labels that keep out of each other's way --------------------------

    // Places `testo` near (x, y), on the first side where it touches no
    // earlier label. `sempre`: placed even when every side is taken.
    bool place_label(double x, double y, const std::string& text, double font_size, const std::string& style,
                     const std::string& colour, bool always) {
        std::size_t characters = 0;
        for (char c : from_windows1252(text))
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
                ++characters;
        const double w = 0.6 * font_size * static_cast<double>(std::max<std::size_t>(characters, 1));
        struct attempt {
            double x, y;
            const char* anchor;
            double x0;
        };
        const attempt attempts[] = {
            {x + 9, y + font_size * 0.35, "start", x + 9},
            {x - 9, y + font_size * 0.35, "end", x - 9 - w},
            {x, y - 9, "middle", x - w / 2},
            {x, y + 9 + font_size, "middle", x - w / 2},
        };
        const attempt* choice = nullptr;
        for (const attempt& p : attempts) {
            const box r{p.x0, p.y - font_size, p.x0 + w, p.y + 3};
            if (r.x0 < 2 || r.x1 > width - 2)
                continue;
            bool free = true;
            for (const box& o : taken_)
                if (r.touches(o)) {
                    free = false;
                    break;
                }
            if (free) {
                choice = &p;
                break;
            }
        }
        if (!choice) {
            if (!always)
                return false;
            choice = &attempts[0];
        }
        taken_.push_back({choice->x0, choice->y - font_size, choice->x0 + w, choice->y + 3});
        text_with_halo(choice->x, choice->y, font_size, choice->anchor, style, colour,
                       from_windows1252(text));
        return true;
    }

    // A text with a white halo under it, so it stays readable over the line.
    // The halo is a text of its own: not every renderer knows paint-order.
    void text_with_halo(double x, double y, double font_size, const char* anchor, const std::string& style,
                        const std::string& colour, const std::string& utf8) {
        const std::string start = "<text x=\"" + num(x) + "\" y=\"" + num(y) + "\" font-size=\"" +
                                  num(font_size) + "\" text-anchor=\"" + anchor + "\" " + style;
        svg_ += start + " fill=\"#ffffff\" stroke=\"#ffffff\" stroke-width=\"3\" stroke-linejoin=\"round\">" +
                xml(utf8) + "</text>\n";
        svg_ += start + " fill=\"" + colour + "\">" + xml(utf8) + "</text>\n";
    }

    // ---- the parts of the drawing ------------------------------------------

    void header() {
        const std::vector<drawn_station> st = stations_of(d_);
        std::string below = "route " + km(length_) + ", " + std::to_string(st.size()) + " stations, " +
                            std::to_string(signals().size()) + " signals, " +
                            std::to_string(slowdowns().size()) + " slowdowns, " +
                            std::to_string(tunnels().size()) + " tunnels";
        if (!with_plan_)
            below += d_.plan_left_out
                         ? " (the line file belongs to another route: the line is drawn straight)"
                         : " (no line file: the line is drawn straight)";
        svg_ += "<text x=\"" + num(margin) + "\" y=\"34\" font-size=\"20\" font-weight=\"bold\">" +
                xml(d_.title) + "</text>\n";
        svg_ += "<text x=\"" + num(margin) + "\" y=\"56\" font-size=\"13\" fill=\"#444\">" + xml(below) +
                "</text>\n";
        // Legend.
        double x = margin;
        const double y = 78;
        const auto legend_entry = [&](const std::string& symbol, const char* word) {
            svg_ += symbol;
            svg_ += "<text x=\"" + num(x + 30) + "\" y=\"" + num(y + 4) + "\" font-size=\"12\">" + word +
                    "</text>\n";
            x += 38 + 7.2 * static_cast<double>(std::string_view(word).size());
        };
        legend_entry("<line x1=\"" + num(x) + "\" y1=\"" + num(y) + "\" x2=\"" + num(x + 24) + "\" y2=\"" +
                         num(y) + "\" stroke=\"#222\" stroke-width=\"3\"/>\n",
                     "line");
        legend_entry("<line x1=\"" + num(x) + "\" y1=\"" + num(y) + "\" x2=\"" + num(x + 24) + "\" y2=\"" +
                         num(y) + "\" stroke=\"#7a6a58\" stroke-width=\"9\"/>\n",
                     "tunnel");
        legend_entry("<line x1=\"" + num(x) + "\" y1=\"" + num(y) + "\" x2=\"" + num(x + 24) + "\" y2=\"" +
                         num(y) + "\" stroke=\"#f08c00\" stroke-width=\"6\"/>\n",
                     "slowdown (km/h)");
        legend_entry("<circle cx=\"" + num(x + 12) + "\" cy=\"" + num(y) +
                         "\" r=\"3.5\" fill=\"#d62728\" stroke=\"#600\" stroke-width=\"0.8\"/>\n",
                     "signal");
        legend_entry("<circle cx=\"" + num(x + 12) + "\" cy=\"" + num(y) +
                         "\" r=\"5\" fill=\"#ffffff\" stroke=\"#1f4e9c\" stroke-width=\"2.5\"/>\n",
                     "station");
    }

    void plan() {
        svg_ += "<g id=\"plan\">\n";
        for (const stretch& g : tunnels())
            svg_ += "<polyline points=\"" + line_between(g.from, g.to) +
                    "\" fill=\"none\" stroke=\"#7a6a58\" stroke-width=\"9\" stroke-linecap=\"butt\"/>\n";
        svg_ += "<polyline points=\"" + line_between(0, length_) +
                "\" fill=\"none\" stroke=\"#222\" stroke-width=\"2.5\" stroke-linejoin=\"round\"/>\n";
        for (const stretch& r : slowdowns())
            svg_ += "<polyline points=\"" + line_between(r.from, r.to) +
                    "\" fill=\"none\" stroke=\"#f08c00\" stroke-width=\"6\" stroke-opacity=\"0.85\"/>\n";
        for (int64_t s : signals()) {
            const point p = on_screen(s);
            svg_ += "<circle cx=\"" + num(p.x) + "\" cy=\"" + num(p.y) +
                    "\" r=\"3.5\" fill=\"#d62728\" stroke=\"#600\" stroke-width=\"0.8\"/>\n";
        }
        const point start = on_screen(0);
        const point end = on_screen(length_);
        svg_ += "<rect x=\"" + num(start.x - 4) + "\" y=\"" + num(start.y - 4) +
                "\" width=\"8\" height=\"8\" fill=\"#222\"/>\n";
        svg_ += "<rect x=\"" + num(end.x - 4) + "\" y=\"" + num(end.y - 4) +
                "\" width=\"8\" height=\"8\" fill=\"#222\"/>\n";

        // Station names first: they matter most and are always placed.
        const std::string station_style = "font-weight=\"bold\"";
        for (const drawn_station& s : stations_of(d_)) {
            const point p = on_screen(s.position);
            svg_ += "<circle cx=\"" + num(p.x) + "\" cy=\"" + num(p.y) +
                    "\" r=\"5\" fill=\"#ffffff\" stroke=\"#1f4e9c\" stroke-width=\"2.5\"/>\n";
            taken_.push_back({p.x - 5, p.y - 5, p.x + 5, p.y + 5});
        }
        for (const drawn_station& s : stations_of(d_)) {
            const point p = on_screen(s.position);
            place_label(p.x, p.y, s.name, 13, station_style, "#12336b", true);
        }
        const std::string minor_style = "font-weight=\"bold\"";
        for (const stretch& r : slowdowns()) {
            const point p = on_screen((r.from + r.to) / 2);
            place_label(p.x, p.y, std::to_string(r.value), 11, minor_style, "#8a4b00", false);
        }
        const std::string board_style = "font-style=\"italic\"";
        for (const route::board& b : boards()) {
            const point p = on_screen(b.position);
            place_label(p.x, p.y, b.text, 10, board_style, "#5a4a38", false);
        }
        svg_ += "</g>\n";
    }

    void profile(double top) {
        const double bottom = top + profile_height;
        const auto x_of = [&](double m) { return margin + usable * m / static_cast<double>(length_); };

        // Elevation relative to the start, from the gradient of each cell.
        std::vector<std::pair<int64_t, double>> quote{{0, 0.0}};
        std::vector<stretch> gradients;
        double h = 0, hmin = 0, hmax = 0;
        for (std::size_t c = 0; c < d_.celle.size() && static_cast<int64_t>(c) * 50 < length_; ++c) {
            const int g = static_cast<int>(d_.celle[c].pendenza) - 100;
            const int64_t from = static_cast<int64_t>(c) * 50;
            const int64_t a = std::min<int64_t>(from + 50, length_);
            h += g * static_cast<double>(a - from) / 1000.0;
            quote.emplace_back(a, h);
            hmin = std::min(hmin, h);
            hmax = std::max(hmax, h);
            if (!gradients.empty() && gradients.back().value == g && gradients.back().to == from)
                gradients.back().to = a;
            else
                gradients.push_back({from, a, g});
        }
        if (hmax - hmin < 10) {
            const double centre = (hmax + hmin) / 2;
            hmin = centre - 5;
            hmax = centre + 5;
        }
        const double curve_top = top + 28;  // room for the station names above the curve
        const auto y_of = [&](double q) {
            return bottom - (q - hmin) / (hmax - hmin) * (bottom - curve_top - 4) - 2;
        };

        svg_ += "<g id=\"profile\">\n";
        const double y_title = top - profile_name_rows * 15 - 22;
        svg_ += "<text x=\"" + num(margin) + "\" y=\"" + num(y_title) +
                "\" font-size=\"14\" font-weight=\"bold\">Gradient profile</text>\n";
        svg_ += "<text x=\"" + num(margin + 140) + "\" y=\"" + num(y_title) +
                "\" font-size=\"12\" fill=\"#444\">elevation relative to the start (m); gradients in per "
                "mille</text>\n";
        svg_ += "<rect x=\"" + num(margin) + "\" y=\"" + num(top) + "\" width=\"" + num(usable) +
                "\" height=\"" + num(profile_height) +
                "\" fill=\"#f7f7f2\" stroke=\"#999\" stroke-width=\"1\"/>\n";

        // The elevation curve, thinned like the plan.
        std::string pts = num(x_of(0)) + "," + num(bottom) + " ";
        const std::size_t step = std::max<std::size_t>(1, quote.size() / max_line_points);
        for (std::size_t i = 0; i < quote.size(); i += step)
            pts += num(x_of(static_cast<double>(quote[i].first))) + "," + num(y_of(quote[i].second)) + " ";
        pts +=
            num(x_of(static_cast<double>(quote.back().first))) + "," + num(y_of(quote.back().second)) + " ";
        pts += num(x_of(static_cast<double>(quote.back().first))) + "," + num(bottom);
        svg_ +=
            "<polygon points=\"" + pts + "\" fill=\"#c9d9c0\" stroke=\"#4f7a3a\" stroke-width=\"1.5\"/>\n";

        // Elevation scale.
        for (double q : {hmin, (hmin + hmax) / 2, hmax}) {
            svg_ += "<text x=\"" + num(margin - 4) + "\" y=\"" + num(y_of(q) + 4) +
                    "\" font-size=\"10\" text-anchor=\"end\" fill=\"#555\">" + num(q) + " m</text>\n";
        }

        // Stations: a dashed line up from the profile to the name, the names
        // in rows above it so that near stations do not overwrite each other.
        std::vector<double> line_end(profile_name_rows, -1e300);
        for (const drawn_station& s : stations_of(d_)) {
            if (s.position < 0 || s.position > length_)
                continue;
            const double x = x_of(static_cast<double>(s.position));
            const std::string name = from_windows1252(s.name);
            std::size_t characters = 0;
            for (char c : name)
                if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
                    ++characters;
            const double w = 6.6 * static_cast<double>(characters);
            const double x0 = std::clamp(x - w / 2, 2.0, width - 2 - w);
            int row = profile_name_rows - 1;
            for (int r = profile_name_rows - 1; r >= 0; --r) {
                if (line_end[static_cast<std::size_t>(r)] + 14 < x0) {
                    row = r;
                    break;
                }
            }
            line_end[static_cast<std::size_t>(row)] = x0 + w;
            const double y_name = top - 8 - (profile_name_rows - 1 - row) * 15;
            svg_ += "<line x1=\"" + num(x) + "\" y1=\"" + num(y_name + 3) + "\" x2=\"" + num(x) + "\" y2=\"" +
                    num(bottom) + "\" stroke=\"#1f4e9c\" stroke-width=\"1\" stroke-dasharray=\"4 3\"/>\n";
            text_with_halo(x0, y_name, 11, "start", "", "#12336b", name);
        }

        // Gradient values under the curve, where a stretch is wide enough.
        const double gradient_row = bottom + 14;
        double last_tick = -1e300;
        for (const stretch& p : gradients) {
            const double x0 = x_of(static_cast<double>(p.from));
            const double x1 = x_of(static_cast<double>(p.to));
            // On a long route the changes of gradient come closer than a few
            // pixels: their marks would merge into a band.
            if (x0 - last_tick >= 3) {
                last_tick = x0;
                svg_ += "<line x1=\"" + num(x0) + "\" y1=\"" + num(bottom) + "\" x2=\"" + num(x0) +
                        "\" y2=\"" + num(bottom + 18) + "\" stroke=\"#999\" stroke-width=\"0.8\"/>\n";
            }
            if (x1 - x0 < 30)
                continue;
            const std::string value = (p.value > 0 ? "+" : "") + std::to_string(p.value);
            svg_ += "<text x=\"" + num((x0 + x1) / 2) + "\" y=\"" + num(gradient_row) +
                    "\" font-size=\"10\" text-anchor=\"middle\" fill=\"#4f7a3a\">" + xml(value) + "</text>\n";
        }

        // Distance scale.
        int64_t km_step = 1;
        for (int64_t candidate : {1, 2, 5, 10, 20, 50, 100, 200, 500}) {
            km_step = candidate;
            if (length_ / (candidate * 1000) <= 20)
                break;
        }
        const double km_row = bottom + 40;
        for (int64_t m = 0; m <= length_; m += km_step * 1000) {
            const double x = x_of(static_cast<double>(m));
            svg_ += "<line x1=\"" + num(x) + "\" y1=\"" + num(bottom + 22) + "\" x2=\"" + num(x) +
                    "\" y2=\"" + num(bottom + 28) + "\" stroke=\"#333\" stroke-width=\"1\"/>\n";
            svg_ += "<text x=\"" + num(x) + "\" y=\"" + num(km_row) +
                    "\" font-size=\"10\" text-anchor=\"middle\" fill=\"#333\">" + km(m) + "</text>\n";
        }
        svg_ += "</g>\n";
    }

    const plan_data& d_;
    std::string svg_;
    bool with_plan_ = false;
    int64_t last_ = 0;    // last plan point that holds a value
    int64_t length_ = 1;  // metres of line drawn
    int64_t step_ = 1;    // metres between drawn points
    double scale_ = 1, minx_ = 0, maxy_ = 0, ox_ = 0, oy_ = 0, plan_height_ = 40;
    double cosine_ = 1, sine_ = 0;  // the turn of the plan
    std::vector<box> taken_;
};

}  // namespace

std::vector<drawn_station> stations_of(const plan_data& d) {
    std::vector<drawn_station> st;
    for (const route::station& x : route::stations(d.celle, d.voci))
        st.push_back({x.slot, x.position, x.name});
    return st;
}

std::string draw_plan(const plan_data& d) {
    return drawing(d).run();
}

}  // namespace scenario::tool
