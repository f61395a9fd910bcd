#include "tools/render/svg_writer.h"

#include "tools/words/text_encoding.h"

#include <charconv>
#include <cmath>

namespace scenario::tool::svg {

std::string number(double v) {
    if (std::fabs(v) < 0.05)
        v = 0;
    char b[32];
    const auto r = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, 1);
    return std::string(b, static_cast<std::size_t>(r.ptr - b));
}

// Attributes are always in double quotes, so an apostrophe stays as it is
// (some renderers do not decode &apos;).
std::string escaped(std::string_view utf8) {
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

std::string points_text(const std::vector<point>& points) {
    std::string out;
    for (const point& p : points) {
        if (!out.empty())
            out += ' ';
        out += number(p.x) + "," + number(p.y);
    }
    return out;
}

writer::writer(double width, double height, std::string_view font_family) {
    out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + number(width) + "\" height=\"" +
            number(height) + "\" viewBox=\"0 0 " + number(width) + " " + number(height) + "\" font-family=\"";
    out_ += font_family;
    out_ += "\">\n";
    out_ += "<rect x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
}

void writer::open_group(std::string_view id) {
    out_ += "<g id=\"";
    out_ += id;
    out_ += "\">\n";
}

void writer::close_group() {
    out_ += "</g>\n";
}

void writer::attributes_text(attributes list) {
    for (const attribute& a : list) {
        out_ += ' ';
        out_ += a.name;
        out_ += "=\"";
        out_ += a.value;
        out_ += '"';
    }
}

void writer::element(std::string_view name, attributes list) {
    out_ += '<';
    out_ += name;
    attributes_text(list);
    out_ += "/>\n";
}

void writer::text(attributes list, std::string_view utf8) {
    out_ += "<text";
    attributes_text(list);
    out_ += '>';
    out_ += escaped(utf8);
    out_ += "</text>\n";
}

void writer::text_with_halo(attributes place, attributes style, std::string_view colour,
                            std::string_view utf8) {
    const std::string content = escaped(utf8);
    for (const bool halo : {true, false}) {
        out_ += "<text";
        attributes_text(place);
        attributes_text(style);
        if (halo) {
            out_ += " fill=\"#ffffff\" stroke=\"#ffffff\" stroke-width=\"3\" stroke-linejoin=\"round\">";
        } else {
            out_ += " fill=\"";
            out_ += colour;
            out_ += "\">";
        }
        out_ += content;
        out_ += "</text>\n";
    }
}

std::string writer::finish() {
    out_ += "</svg>\n";
    return std::move(out_);
}

}  // namespace scenario::tool::svg
