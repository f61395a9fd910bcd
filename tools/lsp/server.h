// The language server's dispatch: each JSON-RPC message in, the responses
// and notifications it owes out. Compiles wait for `publish_pending`, so the
// caller decides when a burst of changes has ended.
#pragma once

#include "tools/lsp/json_rpc.h"
#include "tools/lsp/workspace.h"

#include <functional>
#include <nlohmann/json.hpp>

namespace scenario::tool::lsp {

class server {
public:
    using sink = std::function<void(const nlohmann::json&)>;
    explicit server(sink out, pair_compiler compile = {})
        : out_(std::move(out)), workspace_(std::move(compile)) {}

    void handle(const nlohmann::json& message);

    // Whether changes wait for a compile.
    bool pending() const { return workspace_.pending(); }
    // Compiles what changed and publishes its diagnostics.
    void publish_pending();

    // After "exit": the process ends with this status (0 after a shutdown).
    bool exited() const { return exited_; }
    int exit_status() const { return shut_down_ ? 0 : 1; }

private:
    void request(const incoming& in);
    void notify(const incoming& in);
    nlohmann::json answer(const std::string& method, const nlohmann::json& params);
    nlohmann::json feature(const std::string& method, const nlohmann::json& params);

    sink out_;
    workspace workspace_;
    bool initialized_ = false;
    bool shut_down_ = false;
    bool exited_ = false;
};

// The server's capabilities, as "initialize" answers them.
nlohmann::json server_capabilities();

}  // namespace scenario::tool::lsp
