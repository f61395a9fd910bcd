// The language server's message reader and dispatcher on any bytes: the
// input is what an editor would write to its standard input, after an
// initialize. Every message the server sends must be a JSON-RPC 2.0 object,
// and every request it answers must be answered once.
#include "tools/core/memory_compile.h"
#include "tools/lsp/framing.h"
#include "tools/lsp/json_rpc.h"
#include "tools/lsp/server.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using nlohmann::json;
using namespace scenario;
using namespace scenario::tool;

// The one compile with the fast fuzz targets' plan limit, so that a route
// length typed by the fuzzer does not make one input take minutes.
compiled_sources limited_compile(std::string line, std::string run, const scenario_names& names) {
    compile_options options;
    options.plan_point_limit = 12000;
    return compile_texts(std::move(line), std::move(run), names, true, options);
}

[[noreturn]] void fail(const char* what, const json& m) {
    std::fprintf(stderr, "lsp server: %s: %s\n", what,
                 m.dump(-1, ' ', false, json::error_handler_t::replace).c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte: how many bytes each read gives (messages arrive in pieces).
    const std::size_t piece = 1 + data[0] % 64;
    const std::string init = lsp::frame(R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{}})");
    std::string bytes = init + std::string(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::size_t at = 0;
    lsp::message_reader reader(
        [&](char* buffer, std::size_t n) {
            const std::size_t k = std::min({n, piece, bytes.size() - at});
            std::memcpy(buffer, bytes.data() + at, k);
            at += k;
            return k;
        },
        std::size_t{1} << 20);
    std::size_t answered = 0;
    std::size_t requests = 0;
    lsp::server s(
        [&](const json& m) {
            if (!m.is_object() || m.value("jsonrpc", "") != "2.0")
                fail("not a JSON-RPC message", m);
            if (m.contains("id"))
                ++answered;
            (void)m.dump(-1, ' ', false, json::error_handler_t::replace);
        },
        limited_compile);
    for (;;) {
        lsp::read_result r = lsp::read_message(reader);
        if (r.end)
            break;
        if (r.message) {
            const lsp::incoming in = lsp::classify(*r.message);
            if (in.what == lsp::incoming::kind::request || in.what == lsp::incoming::kind::invalid)
                ++requests;
            const std::size_t before = answered;
            s.handle(*r.message);
            if (in.what == lsp::incoming::kind::request && answered != before + 1)
                fail("a request not answered exactly once", *r.message);
            if (s.exited())
                break;
        }
        if (s.pending())
            s.publish_pending();
    }
    if (answered < requests)
        fail("fewer answers than requests", json(requests));
    return 0;
}
