// A language server driven in memory: messages in, everything it wrote out.
#pragma once

#include "common/line_list.h"
#include "sources/writers.h"
#include "tools/lsp/framing.h"
#include "tools/lsp/json_rpc.h"
#include "tools/lsp/server.h"

#include <algorithm>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace scenario::tool::lsp::testing {

using nlohmann::json;

// The program's own sources as an editor holds them, in a folder that need not exist.
inline const std::string line_uri = "file:///scenarios/Calvena_Roccalba_linea.txt";
inline const std::string run_uri = "file:///scenarios/Calvena_Roccalba_4127-.txt";
inline std::string program_line() {
    return testo_lista(sorgenti::righe_linea());
}
inline std::string program_run() {
    return testo_lista(sorgenti::righe_treno());
}

inline json request(int id, const std::string& method, json params = json::object()) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}};
}
inline json note(const std::string& method, json params) {
    return {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
}
inline json did_open(const std::string& uri, const std::string& text, int version = 1) {
    return note(
        "textDocument/didOpen",
        {{"textDocument", {{"uri", uri}, {"languageId", "scenario"}, {"version", version}, {"text", text}}}});
}
inline json did_change(const std::string& uri, const std::string& text, int version) {
    return note("textDocument/didChange", {{"textDocument", {{"uri", uri}, {"version", version}}},
                                           {"contentChanges", json::array({{{"text", text}}})}});
}

// A server and what it sent.
struct session {
    std::vector<json> sent;
    server s{[this](const json& m) { sent.push_back(m); }};

    session& initialized() {
        s.handle(request(0, "initialize", {{"capabilities", json::object()}}));
        s.handle(note("initialized", json::object()));
        sent.clear();
        return *this;
    }
    // The diagnostics last published for `uri`, after compiling what changed.
    json diagnostics(const std::string& uri) {
        s.publish_pending();
        json last = nullptr;
        for (const json& m : sent)
            if (m.value("method", "") == "textDocument/publishDiagnostics" && m["params"]["uri"] == uri)
                last = m["params"];
        return last;
    }
    json answer(const json& req) {
        s.handle(req);
        for (auto i = sent.rbegin(); i != sent.rend(); ++i)
            if (i->contains("id") && (*i)["id"] == req["id"])
                return *i;
        return nullptr;
    }
};

// Every message a stream of bytes gives the server, read as the stdio loop reads it.
inline std::vector<json> run_stream(const std::string& bytes, std::size_t cap = default_body_cap) {
    std::size_t at = 0;
    // Small reads, so that a message arrives in pieces.
    message_reader reader(
        [&](char* buffer, std::size_t size) {
            const std::size_t n = std::min({size, bytes.size() - at, std::size_t{7}});
            std::memcpy(buffer, bytes.data() + at, n);
            at += n;
            return n;
        },
        cap);
    std::vector<json> sent;
    server s([&](const json& m) { sent.push_back(m); });
    for (;;) {
        read_result r = read_message(reader);
        if (r.end)
            break;
        if (r.error)
            sent.push_back(*r.error);
        if (r.message)
            s.handle(*r.message);
    }
    return sent;
}

}  // namespace scenario::tool::lsp::testing
