// What the viewer's server answers, apart from the network: the page and its
// assets, the model, the plan of a stretch, a cell, source lines, and the
// event stream. Nothing from a request names a file on disk.
#pragma once

#include "tools/view/live_scenario.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace scenario::view {

struct request_facts {
    std::string method;  // "GET", ...
    std::string target;  // "/plan?from=0&to=500"
    std::string host;    // the Host header as sent; empty when missing
};

struct reply {
    int status = 200;
    std::string content_type = "text/plain; charset=utf-8";
    std::string body;
    bool event_stream = false;  // the caller turns the connection into an event stream
    bool allow_get = false;     // 405: say that GET is the method to use
};

// The Host header values the server accepts: 127.0.0.1, localhost and [::1]
// with the port, and a host the author named.
std::set<std::string> allowed_hosts(unsigned short port, const std::string& extra_host);

reply answer(const request_facts& r, const std::set<std::string>& hosts, const live_scenario& live);

}  // namespace scenario::view
