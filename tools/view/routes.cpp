#include "tools/view/routes.h"

#include "tools/view/assets.h"
#include "tools/view/geo_overlay.h"
#include "tools/view/metre_words.h"
#include "tools/view/page_labels.h"
#include "tools/words/compiled_json.h"

#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <string_view>

namespace scenario::view {

namespace {

reply text_reply(int status, std::string body) {
    reply r;
    r.status = status;
    r.body = std::move(body) + "\n";
    return r;
}

reply json_reply(const json& j) {
    reply r;
    r.content_type = "application/json";
    r.body = tool::json_text(j);
    return r;
}

// The query of a target: name=value pairs; no decoding is needed, every value
// the server reads is a number or a plain word.
std::map<std::string, std::string, std::less<>> query_of(std::string_view q) {
    std::map<std::string, std::string, std::less<>> params;
    while (!q.empty() && params.size() < 16) {
        const std::size_t amp = q.find('&');
        const std::string_view pair = q.substr(0, amp);
        const std::size_t eq = pair.find('=');
        if (eq != std::string_view::npos)
            params.emplace(std::string(pair.substr(0, eq)), std::string(pair.substr(eq + 1)));
        if (amp == std::string_view::npos)
            break;
        q.remove_prefix(amp + 1);
    }
    return params;
}

std::optional<int64_t> number_param(const std::map<std::string, std::string, std::less<>>& params,
                                    std::string_view name) {
    auto it = params.find(name);
    if (it == params.end())
        return std::nullopt;
    int64_t v = 0;
    const char* end = it->second.data() + it->second.size();
    const auto r = std::from_chars(it->second.data(), end, v);
    if (r.ec != std::errc() || r.ptr != end)
        return std::nullopt;
    return v;
}

std::optional<double> real_param(const std::map<std::string, std::string, std::less<>>& params,
                                 std::string_view name) {
    auto it = params.find(name);
    if (it == params.end())
        return std::nullopt;
    double v = 0;
    const char* end = it->second.data() + it->second.size();
    const auto r = std::from_chars(it->second.data(), end, v);
    if (r.ec != std::errc() || r.ptr != end || !std::isfinite(v))
        return std::nullopt;
    return v;
}

}  // namespace

std::set<std::string> allowed_hosts(unsigned short port, const std::string& extra_host) {
    const std::string p = ":" + std::to_string(port);
    std::set<std::string> hosts{"127.0.0.1" + p, "localhost" + p, "[::1]" + p};
    if (!extra_host.empty())
        hosts.insert((extra_host.find(':') != std::string::npos ? "[" + extra_host + "]" : extra_host) + p);
    return hosts;
}

reply answer(const request_facts& r, const std::set<std::string>& hosts, const live_scenario& live) {
    // Another site's page could reach this server through a name it controls
    // (DNS rebinding); its requests carry that name in Host.
    if (!hosts.count(r.host))
        return text_reply(403, "unknown host");
    const std::string_view target = r.target;
    const std::size_t question = target.find('?');
    const std::string_view path = target.substr(0, question);
    const auto params = query_of(question == std::string_view::npos ? "" : target.substr(question + 1));

    const asset* a = find_asset(path == "/" ? "/index.html" : path);
    const bool known = a || path == "/model" || path == "/events" || path == "/plan" || path == "/cell" ||
                       path == "/at" || path == "/source" || path == "/locate" || path == "/labels" ||
                       path == "/geo";
    if (!known)
        return text_reply(404, "not found");
    if (r.method != "GET") {
        reply no = text_reply(405, "only GET");
        no.allow_get = true;
        return no;
    }
    if (a) {
        reply ok;
        ok.content_type = a->content_type;
        ok.body = a->content;
        return ok;
    }
    if (path == "/events") {
        reply stream;
        stream.event_stream = true;
        stream.content_type = "text/event-stream";
        return stream;
    }
    if (path == "/geo")
        return geo_record_reply(live.sources());
    if (path == "/model") {
        reply ok;
        ok.content_type = "application/json";
        ok.body = live.model_text();
        return ok;
    }
    const std::shared_ptr<const compiled_view> v = live.view();
    if (path == "/plan") {
        const auto from = number_param(params, "from"), to = number_param(params, "to");
        const auto points = number_param(params, "points");
        if (!from || !to || !points)
            return text_reply(400, "plan needs from, to and points");
        return json_reply(plan_json(*v, *from, *to, *points));
    }
    if (path == "/labels") {
        const auto w = real_param(params, "w"), h = real_param(params, "h"), u = real_param(params, "u"),
                   vv = real_param(params, "v"), scale = real_param(params, "scale"),
                   angle = real_param(params, "angle");
        if (!w || !h || !u || !vv || !scale || !angle || *w <= 0 || *h <= 0 || *w > 20000 || *h > 20000 ||
            *scale <= 0)
            return text_reply(400, "labels needs w, h, u, v, scale and angle");
        return json_reply(labels_json(*v, {*w, *h, *u, *vv, *scale, *angle}));
    }
    if (path == "/at") {
        const auto metre = real_param(params, "metre");
        if (!metre)
            return text_reply(400, "at needs metre");
        return json_reply(metre_json(*v, *metre));
    }
    if (path == "/cell") {
        // By its index, or the cell whose stretch holds a metre along the route.
        const auto index = number_param(params, "index");
        const auto metre = real_param(params, "metre");
        if (!index && !metre)
            return text_reply(400, "cell needs index or metre");
        const json c = cell_json(*v, index ? *index : route::cell_at_metre(*metre));
        return c.is_null() ? text_reply(404, "no such cell") : json_reply(c);
    }
    auto which = params.find("file");
    const auto line = number_param(params, "line");
    if (which == params.end() || !line)
        return text_reply(400, "needs file and line");
    if (path == "/source") {
        const json s = source_json(*v, which->second, *line, number_param(params, "context").value_or(12));
        return s.is_null() ? text_reply(404, "no such source") : json_reply(s);
    }
    return json_reply(locate_json(*v, which->second, *line));
}

}  // namespace scenario::view
