// `scenario import` run in-process on a fixture: the report as JSON, the
// files written, and `check --strict` on them.
#pragma once

#include "tests/support/files.h"
#include "tests/support/tool_run.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace scenario::test_support {

struct import_run {
    command_output output;
    nlohmann::json report;  // null when the import failed
    std::string line, run;  // the two sources written
};

inline import_run run_import(const std::filesystem::path& geometry, const std::filesystem::path& out,
                             std::vector<std::string> more = {}) {
    std::vector<std::string> words{"import", geometry.string(), "--name",     "Prova", "--train",
                                   "4127",   "--out",           out.string(), "--json"};
    words.insert(words.end(), more.begin(), more.end());
    import_run r{run_tool(words), nullptr, "", ""};
    if (r.output.status == 0) {
        r.report = nlohmann::json::parse(r.output.out, nullptr, false);
        r.line = read_file(out / "Prova_linea.txt");
        r.run = read_file(out / "Prova_4127-.txt");
    }
    return r;
}

// `check --strict` on what the import wrote: no error, no warning.
inline command_output strict_check(const std::filesystem::path& out) {
    return run_tool({"check", "--strict", "--line", (out / "Prova_linea.txt").string(), "--run",
                     (out / "Prova_4127-.txt").string()});
}

}  // namespace scenario::test_support
