// The checks every document method shares.
#include "tools/lsp/methods.h"

namespace scenario::tool::lsp {

int position_number(const nlohmann::json& params, const char* key) {
    const int64_t v = params.at("position").at(key).get<int64_t>();
    if (v < 0 || v > 1'000'000'000)
        throw bad_params{"a position out of range"};
    return static_cast<int>(v);
}

}  // namespace scenario::tool::lsp
