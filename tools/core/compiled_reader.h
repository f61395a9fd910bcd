// The one reader of compiled files: a file decoded as the kind its name, an
// option or its content says, and a scenario's three files read together.
// `dump` and `plan` read through it and decode nothing themselves.
#pragma once

#include "common/result.h"
#include "compiler/state.h"
#include "tools/core/memory_compile.h"
#include "tools/core/scenario_names.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scenario::tool {

// "line", "run", "cells".
const char* kind_name(compiled_kind k);
std::optional<compiled_kind> kind_from_text(std::string_view t);

// A compiled file's content; only the part of its kind is filled.
struct decoded_file {
    compiled_kind kind = compiled_kind::cells;
    tracciato_linea plan;
    std::array<voce, numero_voci> voci{};
    std::vector<cella> celle;
};

// Why bytes are not a compiled file: of the kind asked for, or (`kind` none)
// of any kind.
struct decode_failure {
    std::optional<compiled_kind> kind;
    std::size_t offset = 0;  // where the bytes stopped making sense
    std::string message;
};

// Decodes `bytes` as `kind`; without one, as the kind its content passes as,
// most demanding first: a run file, a line file with values, cells of known
// kinds only (a cell file has no structure beyond its record size).
result<decoded_file, decode_failure> decode_compiled(std::string_view bytes,
                                                     std::optional<compiled_kind> kind);

// The files a compile writes, as bytes, in the order it writes them (the
// line file only with the plan): what `dump` shows of the sources and
// compares a given file with.
struct own_files {
    std::vector<std::pair<compiled_kind, std::string>> files;

    const std::string* bytes_of(compiled_kind k) const;
};
own_files encode_compiled(const compiled_sources& m);

// The three compiled files of a scenario, read from a directory.
struct compiled_scenario {
    std::vector<cella> celle;
    std::array<voce, numero_voci> voci{};
    std::optional<tracciato_linea> tracciato;  // none: no line file, or one left out
    bool plan_left_out = false;                // there was a line file, but of another route
    std::vector<std::string> warnings;         // found but not fatal
};
struct compiled_read_failure {
    std::string message;
    bool invalid = false;  // a file is there but is not a valid compiled file
};

// Reads the compiled files of NAME and NUMBER in `directory`. The line file
// may be missing (a compile without the plan); the others must be there. A
// line file whose plan does not fit the cell file (left by a compile of
// another route) is left out with a warning.
result<compiled_scenario, compiled_read_failure> read_compiled_scenario(
    const std::filesystem::path& directory, const std::string& name, const std::string& train);

}  // namespace scenario::tool
