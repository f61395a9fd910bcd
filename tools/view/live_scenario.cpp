#include "tools/view/live_scenario.h"

#include "tools/view/documents_model.h"
#include "tools/words/compiled_json.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <system_error>

namespace scenario::view {

namespace fs = std::filesystem;

namespace {

file_signature signature_of(const fs::path& p) {
    std::error_code ec;
    file_signature s;
    if (!fs::is_regular_file(p, ec))
        return s;
    s.size = fs::file_size(p, ec);
    if (ec)
        return {};
    s.modified = fs::last_write_time(p, ec);
    if (ec)
        return {};
    s.present = true;
    return s;
}

std::optional<std::string> read_whole(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream out;
    out << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return std::move(out).str();
}

// Reads a file that an editor may be writing: the content counts only when
// the file looks the same before and after, and after a short pause.
std::optional<std::string> read_settled(const fs::path& p, file_signature& seen) {
    const file_signature before = signature_of(p);
    if (!before.present)
        return std::nullopt;
    std::optional<std::string> text = read_whole(p);
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
    const file_signature after = signature_of(p);
    if (!text || after != before || text->size() != before.size)
        return std::nullopt;
    seen = after;
    return text;
}

}  // namespace

live_scenario::live_scenario(watched_sources sources, std::function<void(const std::string&)> on_model)
    : sources_(std::move(sources)), on_model_(std::move(on_model)) {
    // Until the first compile the page shows an empty route and why.
    auto empty = std::make_shared<compiled_view>();
    empty->labels = sources_.labels;
    empty->compiled.state->nome_scenario = sources_.name;
    empty->compiled.state->numero_treno = sources_.train;
    view_ = empty;
    json m = model_json(*empty);
    m["status"] = {{"kind", "waiting"}, {"text", "waiting for the first compile"}};
    m["version"] = 0;
    model_text_ = tool::json_text(m);
}

live_scenario::~live_scenario() {
    stop();
}

void live_scenario::start(std::chrono::milliseconds period) {
    poll();
    watcher_ = std::thread([this, period] {
        std::unique_lock lock(stop_mutex_);
        while (!stop_signal_.wait_for(lock, period, [this] { return stopping_; })) {
            lock.unlock();
            poll();
            lock.lock();
        }
    });
}

void live_scenario::stop() {
    {
        std::lock_guard lock(stop_mutex_);
        stopping_ = true;
    }
    stop_signal_.notify_all();
    if (watcher_.joinable())
        watcher_.join();
}

bool live_scenario::poll() {
    const file_signature line_now = signature_of(sources_.line);
    const file_signature run_now = signature_of(sources_.run);
    const std::string* missing = !line_now.present  ? &sources_.labels.line
                                 : !run_now.present ? &sources_.labels.run
                                                    : nullptr;
    if (missing) {
        // Editors save by rename: a file may be gone for a moment. The page
        // keeps the last good state and says what it waits for.
        if (waiting_for_ == *missing)
            return false;
        waiting_for_ = *missing;
        seen_line_ = line_now;
        seen_run_ = run_now;
        std::shared_ptr<const compiled_view> last = view();
        publish(last, {"waiting", "waiting for " + *missing});
        return true;
    }
    if (compiled_once_ && waiting_for_.empty() && line_now == seen_line_ && run_now == seen_run_)
        return false;

    file_signature line_seen, run_seen;
    std::optional<std::string> line_text = read_settled(sources_.line, line_seen);
    std::optional<std::string> run_text = read_settled(sources_.run, run_seen);
    if (!line_text || !run_text)
        return false;  // caught in the middle of a write: the next poll looks again
    seen_line_ = line_seen;
    seen_run_ = run_seen;
    const bool was_waiting = !waiting_for_.empty();
    waiting_for_.clear();
    if (compiled_once_ && *line_text == compiled_line_ && *run_text == compiled_run_) {
        // Touched but not changed: only the status may need to come back.
        if (!was_waiting)
            return false;
        std::shared_ptr<const compiled_view> last = view();
        publish(last, status_of(*last));
        return true;
    }
    compiled_line_ = *line_text;
    compiled_run_ = *run_text;
    compiled_once_ = true;
    std::shared_ptr<const compiled_view> v =
        compile_view(std::move(*line_text), std::move(*run_text), sources_.name, sources_.train,
                     sources_.labels, sources_.model);
    publish(v, status_of(*v));
    return true;
}

void live_scenario::publish(std::shared_ptr<const compiled_view> v, const view_status& status) {
    json m = model_json(*v);
    m["status"] = {{"kind", status.kind}, {"text", status.text}};
    m["documents"] = documents_json(*v, sources_.run.parent_path());
    std::string event;
    {
        std::lock_guard lock(mutex_);
        m["version"] = ++version_;
        view_ = std::move(v);
        model_text_ = tool::json_text(m);
        event = "event: model\ndata: " + model_text_ + "\n\n";
    }
    if (on_model_)
        on_model_(event);
}

std::shared_ptr<const compiled_view> live_scenario::view() const {
    std::lock_guard lock(mutex_);
    return view_;
}

std::string live_scenario::model_text() const {
    std::lock_guard lock(mutex_);
    return model_text_;
}

std::string live_scenario::model_event() const {
    std::lock_guard lock(mutex_);
    return "event: model\ndata: " + model_text_ + "\n\n";
}

uint64_t live_scenario::version() const {
    std::lock_guard lock(mutex_);
    return version_;
}

}  // namespace scenario::view
