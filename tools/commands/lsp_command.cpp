#include "tools/commands/lsp_command.h"

#include "tools/commands/command.h"
#include "tools/lsp/stdio_loop.h"

#include <CLI/CLI.hpp>
#include <memory>

namespace scenario::tool {

const char* const lsp_description =
    "Runs a language server (the Language Server Protocol, JSON-RPC over standard\n"
    "input and output) for editors: it pairs NAME_linea.txt with NAME_NUMBER-.txt\n"
    "in the same folder, compiles the unsaved text as the author types and\n"
    "publishes every error and warning of 'check' on its field, with quick fixes\n"
    "for keyword typos, missing commas and byte-order marks, hovers, completion\n"
    "and the outline. The editor starts it; it is not meant to be run by hand.";

int run_lsp(const lsp_arguments&, std::ostream& out, std::ostream&) {
    // The protocol owns standard output from here on.
    out.flush();
    return lsp::serve_stdio();
}

namespace {
command_run declare_lsp(CLI::App&) {
    return [](std::ostream& out, std::ostream& err) { return run_lsp(lsp_arguments{}, out, err); };
}
}  // namespace

const command lsp_command{"lsp", "Serve editors as a language server on standard input and output.",
                          lsp_description, declare_lsp};

}  // namespace scenario::tool
