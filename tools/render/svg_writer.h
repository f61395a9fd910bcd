// The text of an SVG document: numbers to one decimal, escaped texts, and the
// elements a drawing is made of, each written on a line of its own.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::tool::svg {

struct point {
    double x = 0;
    double y = 0;
};

// One decimal is finer than a pixel; the C locale never applies.
std::string number(double v);

// UTF-8 text fit for an element's text or a double-quoted attribute value.
std::string escaped(std::string_view utf8);

// "x,y x,y ..." for a polyline or a polygon.
std::string points_text(const std::vector<point>& points);

struct attribute {
    std::string_view name;
    std::string value;  // written as it is: escape texts with escaped()
};
using attributes = std::initializer_list<attribute>;

class writer {
public:
    writer(double width, double height, std::string_view font_family);

    void open_group(std::string_view id);
    void close_group();
    // <name a="v" .../>
    void element(std::string_view name, attributes list);
    // <text a="v" ...>text</text>; `utf8` is escaped here.
    void text(attributes list, std::string_view utf8);
    // A text with a white halo under it, so it stays readable over a line.
    // The halo is a text of its own: not every renderer knows paint-order.
    void text_with_halo(attributes place, attributes style, std::string_view colour, std::string_view utf8);

    // The whole document; the writer is spent.
    std::string finish();

private:
    void attributes_text(attributes list);
    std::string out_;
};

}  // namespace scenario::tool::svg
