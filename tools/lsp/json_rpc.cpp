#include "tools/lsp/json_rpc.h"

namespace scenario::tool::lsp {

using nlohmann::json;

incoming classify(const json& m) {
    incoming in;
    if (!m.is_object()) {
        in.fault = "a message must be a JSON object";
        return in;
    }
    const auto id = m.find("id");
    const bool has_id = id != m.end();
    if (has_id && (id->is_string() || id->is_number_integer() || id->is_number_unsigned()))
        in.id = *id;
    if (m.value("jsonrpc", json()) != "2.0") {
        in.fault = "\"jsonrpc\" must be \"2.0\"";
        return in;
    }
    if (has_id && !id->is_null() && in.id.is_null()) {
        in.fault = "an id must be a string or a whole number";
        return in;
    }
    const auto method = m.find("method");
    if (method == m.end()) {
        if (has_id && (m.contains("result") || m.contains("error"))) {
            in.what = incoming::kind::response;
            return in;
        }
        in.fault = "a message needs a \"method\"";
        return in;
    }
    if (!method->is_string()) {
        in.fault = "\"method\" must be a string";
        return in;
    }
    in.method = method->get<std::string>();
    const auto params = m.find("params");
    if (params != m.end()) {
        if (!params->is_object() && !params->is_array()) {
            in.fault = "\"params\" must be an object or an array";
            return in;
        }
        in.params = *params;
    }
    in.what = has_id ? incoming::kind::request : incoming::kind::notification;
    return in;
}

json result_response(const json& id, json result) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}};
}

json error_response(const json& id, rpc_error code, const std::string& message) {
    return {
        {"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", static_cast<int>(code)}, {"message", message}}}};
}

json notification(const std::string& method, json params) {
    return {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
}

read_result read_message(message_reader& reader) {
    const framed f = reader.next();
    switch (f.what) {
        case framed::kind::end:
            return {true, std::nullopt, std::nullopt};
        case framed::kind::broken:
            return {false, std::nullopt, error_response(nullptr, rpc_error::parse_error, f.text)};
        case framed::kind::body:
            break;
    }
    json m = json::parse(f.text, nullptr, false);
    if (m.is_discarded()) {
        reader.recover(f.text);
        return {false, std::nullopt, error_response(nullptr, rpc_error::parse_error, "the body is not JSON")};
    }
    return {false, std::move(m), std::nullopt};
}

}  // namespace scenario::tool::lsp
