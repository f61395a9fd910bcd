#include "tools/lsp/server.h"

#include "common/version.h"
#include "tools/lsp/code_actions.h"
#include "tools/lsp/completion.h"
#include "tools/lsp/hover.h"
#include "tools/lsp/methods.h"
#include "tools/lsp/symbols.h"
#include "tools/lsp/uri.h"

#include <algorithm>

namespace scenario::tool::lsp {

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

fs::path document_path(const json& params) {
    const json& uri = params.at("textDocument").at("uri");
    std::optional<fs::path> p = path_of_uri(uri.get<std::string>());
    if (!p)
        throw bad_params{"only file: URIs are served"};
    return p->lexically_normal();
}

// The table of document methods: a new one is its own file in tools/lsp/ and
// one row here.
const document_method methods[] = {
    {"textDocument/hover", "hoverProvider", [] { return json(true); }, answer_hover},
    {"textDocument/completion", "completionProvider",
     [] {
         return json{{"triggerCharacters", json::array({"[", ","})}};
     },
     answer_completion},
    {"textDocument/documentSymbol", "documentSymbolProvider", [] { return json(true); },
     answer_document_symbols},
    {"textDocument/codeAction", "codeActionProvider",
     [] {
         return json{{"codeActionKinds", json::array({"quickfix"})}};
     },
     answer_code_actions},
};

}  // namespace

json server_capabilities() {
    json c = {{"positionEncoding", "utf-16"}, {"textDocumentSync", {{"openClose", true}, {"change", 1}}}};
    for (const document_method& m : methods)
        c[m.capability] = m.announce();
    return c;
}

void server::handle(const json& message) {
    const incoming in = classify(message);
    switch (in.what) {
        case incoming::kind::invalid:
            out_(error_response(in.id, rpc_error::invalid_request, in.fault));
            return;
        case incoming::kind::response:
            return;  // the server asks nothing of the client
        case incoming::kind::notification:
            notify(in);
            return;
        case incoming::kind::request:
            request(in);
            return;
    }
}

void server::request(const incoming& in) {
    if (!initialized_ && in.method != "initialize") {
        out_(error_response(in.id, rpc_error::server_not_initialized, "the server is not initialized yet"));
        return;
    }
    if (shut_down_) {
        out_(error_response(in.id, rpc_error::invalid_request, "the server has shut down"));
        return;
    }
    try {
        json result = answer(in.method, in.params);
        if (result.is_discarded()) {
            out_(error_response(in.id, rpc_error::method_not_found, "no method " + in.method));
            return;
        }
        out_(result_response(in.id, std::move(result)));
    } catch (const bad_params& e) {
        out_(error_response(in.id, rpc_error::invalid_params, e.why));
    } catch (const json::exception& e) {
        out_(error_response(in.id, rpc_error::invalid_params, std::string("invalid params: ") + e.what()));
    }
}

json server::answer(const std::string& method, const json& params) {
    if (method == "initialize") {
        if (initialized_)
            throw bad_params{"initialize was already sent"};
        initialized_ = true;
        return {{"capabilities", server_capabilities()},
                {"serverInfo", {{"name", "scenario"}, {"version", program_version}}}};
    }
    if (method == "shutdown") {
        shut_down_ = true;
        return nullptr;
    }
    return feature(method, params);
}

json server::feature(const std::string& method, const json& params) {
    const document_method* m = std::find_if(std::begin(methods), std::end(methods),
                                            [&](const document_method& row) { return method == row.name; });
    if (m == std::end(methods))
        return json(json::value_t::discarded);
    const fs::path path = document_path(params);
    // Answers come from the newest text.
    publish_pending();
    return m->answer({workspace_.compiled(path), workspace_.documents().find(path), params});
}

void server::notify(const incoming& in) {
    if (in.method == "exit") {
        exited_ = true;
        return;
    }
    if (!initialized_ || shut_down_)
        return;  // notifications before initialize are dropped
    try {
        if (in.method == "textDocument/didOpen") {
            const json& doc = in.params.at("textDocument");
            const fs::path path = document_path(in.params);
            workspace_.documents().set(doc.at("uri").get<std::string>(), path,
                                       doc.value("version", int64_t{0}), doc.at("text").get<std::string>());
            workspace_.touch(path);
        } else if (in.method == "textDocument/didChange") {
            const fs::path path = document_path(in.params);
            const open_document* d = workspace_.documents().find(path);
            const json& changes = in.params.at("contentChanges");
            if (d == nullptr || !changes.is_array() || changes.empty())
                return;  // a change to a document never opened is dropped
            // Full sync: the last change holds the whole text.
            const std::string uri = d->uri;
            workspace_.documents().set(uri, path, in.params.at("textDocument").value("version", d->version),
                                       changes.back().at("text").get<std::string>());
            workspace_.touch(path);
        } else if (in.method == "textDocument/didClose") {
            const fs::path path = document_path(in.params);
            const open_document* d = workspace_.documents().find(path);
            if (d == nullptr)
                return;
            out_(notification("textDocument/publishDiagnostics",
                              {{"uri", d->uri}, {"diagnostics", json::array()}}));
            workspace_.documents().close(path);
            workspace_.touch(path);
        }
    } catch (const bad_params&) {
    } catch (const json::exception&) {
        // A notification is never answered, not even with an error.
    }
}

void server::publish_pending() {
    for (json& params : workspace_.compile_pending())
        out_(notification("textDocument/publishDiagnostics", std::move(params)));
}

}  // namespace scenario::tool::lsp
