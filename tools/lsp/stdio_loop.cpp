#include "tools/lsp/stdio_loop.h"

#include "tools/lsp/framing.h"
#include "tools/lsp/json_rpc.h"
#include "tools/lsp/server.h"

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace scenario::tool::lsp {

using nlohmann::json;

namespace {

std::size_t read_stdin(char* buffer, std::size_t size) {
#ifdef _WIN32
    const int n = _read(0, buffer, static_cast<unsigned>(size));
#else
    ssize_t n = 0;
    do {
        n = ::read(0, buffer, size);
    } while (n < 0 && errno == EINTR);
#endif
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

void write_stdout(const json& message) {
    const std::string wire = frame(message.dump(-1, ' ', false, json::error_handler_t::replace));
    std::fwrite(wire.data(), 1, wire.size(), stdout);
    std::fflush(stdout);
}

// Messages read by the reader thread, waiting for the server.
struct inbox {
    std::mutex lock;
    std::condition_variable ready;
    std::deque<read_result> queue;
    bool ended = false;
};

}  // namespace

int serve_stdio() {
#ifdef _WIN32
    // Content-Length counts bytes: no CR LF translation on either stream.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    // Shared: the reader thread may outlive this function.
    auto shared = std::make_shared<inbox>();
    inbox& box = *shared;
    std::thread reader_thread([shared] {
        inbox& in = *shared;
        message_reader reader(read_stdin);
        for (;;) {
            read_result r = read_message(reader);
            std::lock_guard<std::mutex> hold(in.lock);
            if (r.end) {
                in.ended = true;
                in.ready.notify_one();
                return;
            }
            in.queue.push_back(std::move(r));
            in.ready.notify_one();
        }
    });
    // The reader blocks on input and is not joined when "exit" comes first.
    reader_thread.detach();

    server s(write_stdout);
    for (;;) {
        std::unique_lock<std::mutex> hold(box.lock);
        const auto waiting = [&box] { return !box.queue.empty() || box.ended; };
        if (s.pending()) {
            if (!box.ready.wait_for(hold, quiet_period, waiting)) {
                hold.unlock();
                s.publish_pending();
                continue;
            }
        } else {
            box.ready.wait(hold, waiting);
        }
        if (box.queue.empty()) {
            // The input ended without "exit": what changed is still published.
            hold.unlock();
            s.publish_pending();
            return s.exit_status();
        }
        read_result r = std::move(box.queue.front());
        box.queue.pop_front();
        hold.unlock();
        if (r.error)
            write_stdout(*r.error);
        if (r.message)
            s.handle(*r.message);
        if (s.exited())
            return s.exit_status();
    }
}

}  // namespace scenario::tool::lsp
