// JSON-RPC 2.0 as the language server speaks it: what kind of message came
// in, and the responses and notifications it sends.
#pragma once

#include "tools/lsp/framing.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace scenario::tool::lsp {

enum class rpc_error : int {
    parse_error = -32700,
    invalid_request = -32600,
    method_not_found = -32601,
    invalid_params = -32602,
    internal_error = -32603,
    server_not_initialized = -32002,
};

struct incoming {
    enum class kind { request, notification, response, invalid };
    kind what = kind::invalid;
    nlohmann::json id;  // a request's id; null when unknown
    std::string method;
    nlohmann::json params;  // null when absent
    std::string fault;      // why a message is invalid
};

// What a parsed message is; `invalid` when it breaks JSON-RPC's rules.
incoming classify(const nlohmann::json& message);

nlohmann::json result_response(const nlohmann::json& id, nlohmann::json result);
nlohmann::json error_response(const nlohmann::json& id, rpc_error code, const std::string& message);
nlohmann::json notification(const std::string& method, nlohmann::json params);

// The next message from `reader`: parsed JSON, or the error response owed
// for a body that is not JSON or a broken frame (id null); none at the end.
struct read_result {
    bool end = false;
    std::optional<nlohmann::json> message;
    std::optional<nlohmann::json> error;
};
read_result read_message(message_reader& reader);

}  // namespace scenario::tool::lsp
