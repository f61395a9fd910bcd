#include "tools/lsp/server.h"

#include "common/version.h"
#include "tools/lsp/code_actions.h"
#include "tools/lsp/completion.h"
#include "tools/lsp/hover.h"
#include "tools/lsp/symbols.h"
#include "tools/lsp/uri.h"

namespace scenario::tool::lsp {

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

// Parameters that do not fit the method.
struct bad_params {
    std::string why;
};

fs::path document_path(const json& params) {
    const json& uri = params.at("textDocument").at("uri");
    std::optional<fs::path> p = path_of_uri(uri.get<std::string>());
    if (!p)
        throw bad_params{"only file: URIs are served"};
    return p->lexically_normal();
}

int position_number(const json& params, const char* key) {
    const int64_t v = params.at("position").at(key).get<int64_t>();
    if (v < 0 || v > 1'000'000'000)
        throw bad_params{"a position out of range"};
    return static_cast<int>(v);
}

}  // namespace

json server_capabilities() {
    return {{"positionEncoding", "utf-16"},
            {"textDocumentSync", {{"openClose", true}, {"change", 1}}},
            {"hoverProvider", true},
            {"completionProvider", {{"triggerCharacters", json::array({"[", ","})}}},
            {"documentSymbolProvider", true},
            {"codeActionProvider", {{"codeActionKinds", json::array({"quickfix"})}}}};
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
    const bool known = method == "textDocument/hover" || method == "textDocument/completion" ||
                       method == "textDocument/documentSymbol" || method == "textDocument/codeAction";
    if (!known)
        return json(json::value_t::discarded);
    const fs::path path = document_path(params);
    // Answers come from the newest text.
    publish_pending();
    const compiled_view* v = workspace_.compiled(path);
    if (method == "textDocument/codeAction") {
        const open_document* d = workspace_.documents().find(path);
        if (v == nullptr || d == nullptr)
            return json::array();
        return code_actions(*v->pair, v->source, d->uri, params.at("range"));
    }
    if (method == "textDocument/documentSymbol")
        return v == nullptr ? json::array() : document_symbols(*v->pair, v->source);
    const int line = position_number(params, "line");
    const int column = position_number(params, "character");
    if (method == "textDocument/hover")
        return v == nullptr ? json(nullptr) : hover_at(*v->pair, v->source, line, column);
    return v == nullptr ? json::array() : completions_at(*v->pair, v->source, line, column);
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
