// An editor method on one document: the row the server's method table holds
// for it (its name, the capability it announces, its answer) and what each
// answer is given: the document's newest compile and the request's params.
#pragma once

#include "tools/lsp/documents.h"
#include "tools/lsp/workspace.h"

#include <nlohmann/json.hpp>
#include <string>

namespace scenario::tool::lsp {

// Parameters that do not fit the method: answered with an invalid-params error.
struct bad_params {
    std::string why;
};

struct document_request {
    const compiled_view* view;      // null: no compile holds the document
    const open_document* document;  // null: the document is not open
    const nlohmann::json& params;
};

// The 0-based "line" or "character" of params' "position", checked.
int position_number(const nlohmann::json& params, const char* key);

struct document_method {
    const char* name;                                   // "textDocument/hover"
    const char* capability;                             // its key in the server's capabilities
    nlohmann::json (*announce)();                       // the capability's value
    nlohmann::json (*answer)(const document_request&);  // the result for the client
};

}  // namespace scenario::tool::lsp
