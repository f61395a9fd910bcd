// The scenario followed on disk: a new model for every change, the last good
// state kept while a file is missing, and what the server answers for it.
#include "tools/view/live_scenario.h"

#include "common/line_list.h"
#include "sources/writers.h"
#include "tools/view/routes.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace scenario::view {
namespace {

namespace fs = std::filesystem;

class LiveScenario : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device r;
        dir_ = fs::temp_directory_path() / ("scenario_view_live_" + std::to_string(r()));
        fs::create_directories(dir_);
        sources_.line = dir_ / "Calvena_Roccalba_linea.txt";
        sources_.run = dir_ / "Calvena_Roccalba_4127-.txt";
        sources_.name = "Calvena_Roccalba";
        sources_.train = "4127";
        sources_.labels = {"line.txt", "run.txt"};
        write(sources_.line, testo_lista(sorgenti::righe_linea()));
        write(sources_.run, testo_lista(sorgenti::righe_treno()));
    }
    void TearDown() override { fs::remove_all(dir_); }

    static void write(const fs::path& p, const std::string& text) {
        std::ofstream(p, std::ios::binary | std::ios::trunc) << text;
    }
    json model(const live_scenario& live) { return json::parse(live.model_text()); }

    fs::path dir_;
    watched_sources sources_;
};

TEST_F(LiveScenario, FollowsChangesAndKeepsTheLastGoodStateWhileAFileIsMissing) {
    std::vector<std::string> events;
    live_scenario live(sources_, [&](const std::string& e) { events.push_back(e); });
    EXPECT_EQ(model(live)["status"]["kind"], "waiting");

    ASSERT_TRUE(live.poll());
    EXPECT_EQ(model(live)["status"]["kind"], "compiled");
    EXPECT_EQ(model(live)["stations"].size(), 12u);
    EXPECT_FALSE(live.poll());  // nothing changed: no new model

    // A fault saved: error 16 arrives with the next poll.
    std::string run = testo_lista(sorgenti::righe_treno());
    const std::string signal = "segnale,    3650,   1, 4, 1,  0, 0,    0,  0,0,0, 0\r\n";
    run.insert(run.find(signal) + signal.size(), "segnale,    3650,   2, 4, 1,  0, 0,    0,  0,0,0, 0\r\n");
    write(sources_.run, run);
    ASSERT_TRUE(live.poll());
    json m = model(live);
    EXPECT_EQ(m["status"]["kind"], "stopped");
    ASSERT_EQ(m["errors"].size(), 1u);
    EXPECT_EQ(m["errors"][0]["line"], 50);

    // Saved by rename: the file is gone for a moment. The route stays.
    fs::remove(sources_.run);
    ASSERT_TRUE(live.poll());
    m = model(live);
    EXPECT_EQ(m["status"]["kind"], "waiting");
    EXPECT_EQ(m["status"]["text"], "waiting for run.txt");
    EXPECT_EQ(m["stations"].size(), 12u);
    EXPECT_FALSE(live.poll());  // still waiting: nothing new

    write(sources_.run, testo_lista(sorgenti::righe_treno()));
    ASSERT_TRUE(live.poll());
    m = model(live);
    EXPECT_EQ(m["status"]["kind"], "compiled");
    EXPECT_TRUE(m["errors"].empty());

    // Every model went out as an event, each with a higher version.
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events.back().rfind("event: model\ndata: {", 0), 0u);
    EXPECT_EQ(live.version(), 4u);
    EXPECT_EQ(m["version"], 4);
}

TEST_F(LiveScenario, ServerAnswers) {
    live_scenario live(sources_, nullptr);
    live.poll();
    const std::set<std::string> hosts = allowed_hosts(8123, "");
    struct case_ {
        const char* method;
        const char* target;
        const char* host;
        int status;
        const char* body_start;  // nullptr: any
    };
    const case_ cases[] = {
        {"GET", "/", "127.0.0.1:8123", 200, "<!doctype html>"},
        {"GET", "/view.js", "localhost:8123", 200, nullptr},
        {"GET", "/view.css", "[::1]:8123", 200, nullptr},
        {"GET", "/model", "127.0.0.1:8123", 200, "{\"status\""},
        {"GET", "/cell?index=74", "127.0.0.1:8123", 200, "{\"index\":74,"},
        {"GET", "/plan?from=0&to=100&points=2", "127.0.0.1:8123", 200, "[[0,"},
        {"GET", "/source?file=run&line=49&context=0", "127.0.0.1:8123", 200, nullptr},
        {"GET", "/locate?file=run&line=49", "127.0.0.1:8123", 200, nullptr},
        // Refused.
        {"GET", "/", "evil.example:8123", 403, nullptr},
        {"GET", "/", "127.0.0.1:9999", 403, nullptr},
        {"GET", "/", "", 403, nullptr},
        {"GET", "/etc/passwd", "127.0.0.1:8123", 404, nullptr},
        {"GET", "/../view.js", "127.0.0.1:8123", 404, nullptr},
        {"GET", "/source?file=/etc/passwd&line=1", "127.0.0.1:8123", 404, nullptr},
        {"POST", "/model", "127.0.0.1:8123", 405, nullptr},
        {"DELETE", "/", "127.0.0.1:8123", 405, nullptr},
        {"GET", "/cell?index=941", "127.0.0.1:8123", 404, nullptr},
        {"GET", "/cell?index=abc", "127.0.0.1:8123", 400, nullptr},
        {"GET", "/cell?index=99999999999999999999", "127.0.0.1:8123", 400, nullptr},
        {"GET", "/plan?from=0", "127.0.0.1:8123", 400, nullptr},
        {"GET", "/source?line=1", "127.0.0.1:8123", 400, nullptr},
    };
    for (const case_& c : cases) {
        SCOPED_TRACE(std::string(c.method) + " " + c.target + " Host: " + c.host);
        const reply r = answer({c.method, c.target, c.host}, hosts, live);
        EXPECT_EQ(r.status, c.status);
        EXPECT_FALSE(r.event_stream);
        if (c.body_start) {
            EXPECT_EQ(r.body.rfind(c.body_start, 0), 0u) << r.body.substr(0, 80);
        }
    }
    EXPECT_TRUE(answer({"GET", "/events", "127.0.0.1:8123"}, hosts, live).event_stream);
    EXPECT_TRUE(allowed_hosts(8123, "192.168.1.5").count("192.168.1.5:8123"));
    EXPECT_TRUE(allowed_hosts(8123, "fe80::1").count("[fe80::1]:8123"));
}

}  // namespace
}  // namespace scenario::view
