// The scenario as the page follows it: the two text sources watched on disk,
// compiled again when either changes, and the latest model kept ready as the
// text of a server-sent event.
#pragma once

#include "tools/view/view_model.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace scenario::view {

struct watched_sources {
    std::filesystem::path line;
    std::filesystem::path run;
    std::string name;   // scenario name
    std::string train;  // train number
    source_labels labels;
    tool::train_model model;  // the running-time estimate's train
};

// What the watcher saw of one file at one poll.
struct file_signature {
    bool present = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    bool operator==(const file_signature&) const = default;
};

class live_scenario {
public:
    // `on_model` is called, from the watcher's thread, with the event text of
    // every new model.
    live_scenario(watched_sources sources, std::function<void(const std::string&)> on_model);
    ~live_scenario();
    live_scenario(const live_scenario&) = delete;
    live_scenario& operator=(const live_scenario&) = delete;

    // Reads and compiles both files once, then follows them on a thread of
    // its own, polling every `period`.
    void start(std::chrono::milliseconds period = std::chrono::milliseconds(50));
    void stop();

    // Polls once (the watcher's step; tests call it directly). Gives true
    // when a new model was made.
    bool poll();

    std::shared_ptr<const compiled_view> view() const;
    // The latest model as JSON text, and as a server-sent event.
    std::string model_text() const;
    std::string model_event() const;
    uint64_t version() const;
    const watched_sources& sources() const { return sources_; }

private:
    void publish(std::shared_ptr<const compiled_view> v, const view_status& status);

    watched_sources sources_;
    std::function<void(const std::string&)> on_model_;

    // The watcher's own: what it last saw and last compiled.
    file_signature seen_line_, seen_run_;
    std::string compiled_line_, compiled_run_;
    bool compiled_once_ = false;
    std::string waiting_for_;

    mutable std::mutex mutex_;
    std::shared_ptr<const compiled_view> view_;
    std::string model_text_;
    uint64_t version_ = 0;

    std::mutex stop_mutex_;
    std::condition_variable stop_signal_;
    bool stopping_ = false;
    std::thread watcher_;
};

}  // namespace scenario::view
