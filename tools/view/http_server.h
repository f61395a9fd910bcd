// The viewer's HTTP server: one thread, small and strict. It answers what
// answer() says, keeps event streams open for the page, and protects itself:
// limits on request size, on open connections and streams, and a deadline for
// every request and every write.
#pragma once

#include "tools/view/routes.h"

#include <cstddef>
#include <memory>
#include <set>
#include <string>
// Before any Boost header: Asio 1.74 uses std::exchange without including it.
#include <utility>

namespace scenario::view {

struct server_limits {
    std::size_t header_bytes = 8 * 1024;
    std::size_t body_bytes = 16 * 1024;
    std::size_t connections = 64;
    std::size_t streams = 16;
    int request_seconds = 10;    // to read one whole request, and to write one answer
    int keepalive_seconds = 25;  // a comment on every open stream, so dead ones are found
};

class http_server {
public:
    // Binds to `host` (an IP address) and `port` (0: any free port). Throws
    // std::runtime_error when it cannot.
    http_server(const std::string& host, unsigned short port, const std::string& extra_host,
                live_scenario& live, server_limits limits = {});
    ~http_server();

    unsigned short port() const;

    // Serves until Ctrl-C (SIGINT, SIGTERM) or stop().
    void run();
    // From any thread.
    void stop();
    // Sends an event to every open stream; from any thread.
    void broadcast(std::string event);

    // The server's state, opaque here; public so its connections can name it.
    struct impl;

private:
    std::unique_ptr<impl> impl_;
};

}  // namespace scenario::view
