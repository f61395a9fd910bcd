// A broken message costs at most an error response: the next well-formed
// request is still answered.
#include "tests/lsp/lsp_support.h"

#include <gtest/gtest.h>

namespace scenario::tool::lsp::testing {
namespace {

std::string framed_json(const json& m) {
    return frame(m.dump());
}

const std::string initialize = framed_json(request(1, "initialize", {{"capabilities", json::object()}}));

struct abuse_case {
    const char* name;
    std::string bytes;             // sent after initialize
    std::vector<int> error_codes;  // the errors it draws, in order
    bool before_initialize = false;
};

TEST(ProtocolAbuse, EveryBrokenMessageIsAnsweredOrDroppedAndTheNextRequestIsServed) {
    const std::string unopened =
        framed_json(did_change("file:///nowhere/X_linea.txt", "[generale]", 2)) +
        framed_json(
            note("textDocument/didClose", {{"textDocument", {{"uri", "file:///nowhere/X_linea.txt"}}}}));
    const std::vector<abuse_case> cases = {
        {"header line without a colon", "Content-Length 12\r\n\r\n", {-32700}},
        {"length not a number", "Content-Length: twelve\r\n\r\n{}", {-32700, -32700}},
        {"no Content-Length", "Content-Type: x\r\n\r\n", {-32700}},
        {"junk before a header", "hello\r\n", {-32700}},
        {"length larger than the body, swallowing the next header",
         "Content-Length: 40\r\n\r\n{\"jsonrpc\":\"2.0\"}",
         {-32700}},
        {"length over the cap",
         "Content-Length: 999999999\r\n\r\n{\"jsonrpc\":\"2.0\",\"id\":7}",
         {-32700, -32700}},
        {"invalid JSON", frame("{\"jsonrpc\": 2.0,"), {-32700}},
        {"JSON that is not an object", frame("[1,2,3]"), {-32600}},
        {"no jsonrpc member", frame("{\"id\":3,\"method\":\"shutdown\"}"), {-32600}},
        {"method not a string", frame("{\"jsonrpc\":\"2.0\",\"id\":3,\"method\":7}"), {-32600}},
        {"unknown method", framed_json(request(3, "workspace/teleport")), {-32601}},
        {"unknown notification", framed_json(note("$/teleport", json::object())), {}},
        {"hover with no position",
         framed_json(request(3, "textDocument/hover", {{"textDocument", {{"uri", line_uri}}}})),
         {-32602}},
        {"changes to files never opened", unopened, {}},
        {"request before initialize", framed_json(request(3, "textDocument/hover")), {-32002}, true},
        {"notification before initialize", framed_json(did_open(line_uri, program_line())), {}, true},
    };
    for (const abuse_case& c : cases) {
        SCOPED_TRACE(c.name);
        const json good = c.before_initialize ? request(99, "initialize", {{"capabilities", json::object()}})
                                              : request(99, "shutdown");
        const std::string bytes = (c.before_initialize ? "" : initialize) + c.bytes + framed_json(good);
        const std::vector<json> sent = run_stream(bytes, 1 << 20);
        std::vector<int> codes;
        for (const json& m : sent)
            if (m.contains("error"))
                codes.push_back(m["error"]["code"].get<int>());
        EXPECT_EQ(codes, c.error_codes);
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.back().value("id", json()), 99);
        EXPECT_TRUE(sent.back().contains("result")) << sent.back().dump();
    }
}

TEST(ProtocolAbuse, TheStreamEndingMidMessageEndsTheServerQuietly) {
    for (const std::string& tail :
         {std::string("Content-Len"), std::string("Content-Length: 10\r\n\r\n{\"a\"")}) {
        const std::vector<json> sent = run_stream(initialize + tail);
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.front()["id"], 1);
    }
}

TEST(ProtocolAbuse, NotificationsAreNeverAnsweredAndExitFollowsShutdown) {
    session t;
    t.initialized();
    t.s.handle(note("initialized", json::object()));
    t.s.handle(note("textDocument/didSave", {{"textDocument", {{"uri", line_uri}}}}));
    EXPECT_TRUE(t.sent.empty());
    EXPECT_EQ(t.answer(request(2, "shutdown"))["result"], nullptr);
    EXPECT_EQ(t.answer(request(3, "textDocument/hover"))["error"]["code"], -32600);
    t.s.handle(note("exit", json::object()));
    EXPECT_TRUE(t.s.exited());
    EXPECT_EQ(t.s.exit_status(), 0);

    session early;
    early.s.handle(note("exit", json::object()));
    EXPECT_EQ(early.s.exit_status(), 1);
}

}  // namespace
}  // namespace scenario::tool::lsp::testing
