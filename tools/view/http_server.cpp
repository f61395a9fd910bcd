#include "tools/view/http_server.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <chrono>
#include <csignal>
#include <deque>
#include <optional>
#include <stdexcept>
#include <vector>

namespace scenario::view {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {

// Headers on every answer: nothing is cached, sniffed, framed or fetched
// from elsewhere.
constexpr const char* security_policy = "default-src 'self'; img-src 'self' data:; frame-ancestors 'none'";

class session;

}  // namespace

struct http_server::impl {
    impl(live_scenario& l, server_limits lim) : live(l), limits(lim) {}

    live_scenario& live;
    server_limits limits;
    std::set<std::string> hosts;
    std::size_t open_connections = 0;
    std::set<std::shared_ptr<session>> streams;
    // The sockets belong to the context: it is made before them and goes
    // after them.
    asio::io_context ioc{1};
    tcp::acceptor acceptor{ioc};
    asio::signal_set signals{ioc, SIGINT, SIGTERM};
    asio::steady_timer keepalive{ioc};

    void accept();
    void schedule_keepalive();
    void send_to_streams(const std::string& event);
};

namespace {

class session : public std::enable_shared_from_this<session> {
public:
    session(tcp::socket socket, http_server::impl& server) : stream_(std::move(socket)), server_(server) {
        ++server_.open_connections;
    }
    ~session() { --server_.open_connections; }

    void start() { read_request(); }

    // An event for an open stream. Only the latest model matters to the page:
    // older ones still waiting are dropped, so a slow reader costs no memory.
    void send(const std::string& event) {
        if (closed_)
            return;
        const bool comment = !event.empty() && event.front() == ':';
        if (comment && !queue_.empty())
            return;  // a keep-alive comment never takes the place of a model
        while (queue_.size() > (writing_ ? 1u : 0u))
            queue_.pop_back();
        queue_.push_back(event);
        if (!writing_)
            write_next();
    }

    void close() {
        if (closed_)
            return;
        closed_ = true;
        beast::error_code ec;
        stream_.socket().shutdown(tcp::socket::shutdown_both, ec);
        stream_.close();
        server_.streams.erase(shared_from_this());
    }

private:
    std::chrono::seconds deadline() const { return std::chrono::seconds(server_.limits.request_seconds); }

    void read_request() {
        parser_.emplace();
        parser_->header_limit(static_cast<std::uint32_t>(server_.limits.header_bytes));
        parser_->body_limit(server_.limits.body_bytes);
        // One deadline for the whole request: a client that sends a byte now
        // and then is cut off all the same.
        stream_.expires_after(deadline());
        http::async_read(
            stream_, buffer_, *parser_,
            [self = shared_from_this()](beast::error_code ec, std::size_t) { self->on_request(ec); });
    }

    void on_request(beast::error_code ec) {
        if (ec == http::error::end_of_stream || ec == beast::error::timeout ||
            ec == asio::error::operation_aborted || ec == asio::error::connection_reset ||
            ec == asio::error::eof)
            return close();
        if (ec) {
            const int status = ec == http::error::header_limit ? 431
                               : ec == http::error::body_limit ? 413
                                                               : 400;
            return respond(status, "text/plain; charset=utf-8", "bad request\n", false, false, 11);
        }
        const auto& req = parser_->get();
        request_facts facts{std::string(req.method_string()), std::string(req.target()),
                            std::string(req[http::field::host])};
        const reply r = answer(facts, server_.hosts, server_.live);
        if (r.event_stream)
            return open_stream();
        respond(r.status, r.content_type, r.body, req.keep_alive() && r.status < 400, r.allow_get,
                req.version());
    }

    void respond(int status, const std::string& type, std::string body, bool keep_alive, bool allow_get,
                 unsigned version) {
        auto res = std::make_shared<http::response<http::string_body>>(
            http::int_to_status(static_cast<unsigned>(status)), version);
        res->set(http::field::content_type, type);
        res->set(http::field::cache_control, "no-store");
        res->set("X-Content-Type-Options", "nosniff");
        res->set("X-Frame-Options", "DENY");
        res->set("Referrer-Policy", "no-referrer");
        res->set("Content-Security-Policy", security_policy);
        if (allow_get)
            res->set(http::field::allow, "GET");
        res->body() = std::move(body);
        res->keep_alive(keep_alive);
        res->prepare_payload();
        stream_.expires_after(deadline());
        http::async_write(stream_, *res, [self = shared_from_this(), res](beast::error_code ec, std::size_t) {
            if (ec || !res->keep_alive())
                return self->close();
            self->read_request();
        });
    }

    void open_stream() {
        if (server_.streams.size() >= server_.limits.streams)
            return respond(503, "text/plain; charset=utf-8", "too many open event streams\n", false, false,
                           11);
        server_.streams.insert(shared_from_this());
        // The page sends nothing on a stream: anything read, or its end, closes
        // it. Read from the socket itself, so the write deadlines below never
        // apply to this read, which lasts as long as the stream.
        stream_.socket().async_read_some(
            asio::buffer(ignored_),
            [self = shared_from_this()](beast::error_code, std::size_t) { self->close(); });
        queue_.push_back(
            "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\nCache-Control: no-store\r\n"
            "X-Content-Type-Options: nosniff\r\nConnection: close\r\n\r\nretry: 1000\n\n");
        queue_.push_back(server_.live.model_event());
        write_next();
    }

    void write_next() {
        if (queue_.empty() || closed_) {
            writing_ = false;
            return;
        }
        writing_ = true;
        stream_.expires_after(deadline());
        asio::async_write(stream_, asio::buffer(queue_.front()),
                          [self = shared_from_this()](beast::error_code ec, std::size_t) {
                              if (ec)
                                  return self->close();
                              self->queue_.pop_front();
                              self->write_next();
                          });
    }

    beast::tcp_stream stream_;
    http_server::impl& server_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::string_body>> parser_;
    std::deque<std::string> queue_;
    bool writing_ = false;
    bool closed_ = false;
    char ignored_[64]{};
};

}  // namespace

void http_server::impl::accept() {
    acceptor.async_accept([this](beast::error_code ec, tcp::socket socket) {
        if (ec == asio::error::operation_aborted)
            return;
        if (!ec) {
            if (open_connections >= limits.connections) {
                beast::error_code ignored;
                socket.close(ignored);
            } else {
                std::make_shared<session>(std::move(socket), *this)->start();
            }
        }
        accept();
    });
}

void http_server::impl::schedule_keepalive() {
    keepalive.expires_after(std::chrono::seconds(limits.keepalive_seconds));
    keepalive.async_wait([this](beast::error_code ec) {
        if (ec)
            return;
        send_to_streams(":\n\n");
        schedule_keepalive();
    });
}

void http_server::impl::send_to_streams(const std::string& event) {
    // A copy: sending may close a stream, which leaves the set.
    const std::vector<std::shared_ptr<session>> open(streams.begin(), streams.end());
    for (const auto& s : open)
        s->send(event);
}

http_server::http_server(const std::string& host, unsigned short port, const std::string& extra_host,
                         live_scenario& live, server_limits limits)
    : impl_(std::make_unique<impl>(live, limits)) {
    beast::error_code ec;
    const asio::ip::address address = asio::ip::make_address(host, ec);
    if (ec)
        throw std::runtime_error("\"" + host + "\" is not an IP address");
    const tcp::endpoint endpoint{address, port};
    impl_->acceptor.open(endpoint.protocol(), ec);
    if (!ec)
        impl_->acceptor.set_option(asio::socket_base::reuse_address(true), ec);
    if (!ec)
        impl_->acceptor.bind(endpoint, ec);
    if (!ec)
        impl_->acceptor.listen(asio::socket_base::max_listen_connections, ec);
    if (ec)
        throw std::runtime_error("cannot listen on " + host + " port " + std::to_string(port) + ": " +
                                 ec.message());
    impl_->hosts = allowed_hosts(this->port(), extra_host);
}

http_server::~http_server() {
    // The streams hold their sessions; they go before the context.
    impl_->streams.clear();
}

unsigned short http_server::port() const {
    beast::error_code ec;
    return impl_->acceptor.local_endpoint(ec).port();
}

void http_server::run() {
    impl_->signals.async_wait([this](beast::error_code ec, int) {
        if (!ec)
            impl_->ioc.stop();
    });
    impl_->accept();
    impl_->schedule_keepalive();
    impl_->ioc.run();
}

void http_server::stop() {
    asio::post(impl_->ioc, [this] { impl_->ioc.stop(); });
}

void http_server::broadcast(std::string event) {
    asio::post(impl_->ioc, [this, event = std::move(event)] { impl_->send_to_streams(event); });
}

}  // namespace scenario::view
