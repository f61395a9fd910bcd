#include "app/failure_message.h"

#include <string_view>

namespace scenario {

namespace {
constexpr std::string_view prefix = "Scenario non completato: ";

const char* italian_phrase(replace_step step) {
    switch (step) {
        case replace_step::open:
            return "impossibile aprire il file";
        case replace_step::create:
            return "impossibile creare il file";
        case replace_step::write:
            return "impossibile scrivere il file";
        case replace_step::replace:
            return "impossibile sostituire il file";
    }
    return "impossibile sostituire il file";
}

std::string worded(replace_step step, std::string_view file, std::string_view cause) {
    std::string text(prefix);
    text += italian_phrase(step);
    text += " \"";
    text += file;
    text += "\": ";
    text += cause.empty() ? std::string_view("causa sconosciuta") : cause;
    return text;
}
}  // namespace

std::string unfinished_run_message(const file_failure& f, const std::string& cause) {
    const auto u8 = f.file.u8string();
    return worded(f.step, std::string(u8.begin(), u8.end()), cause);
}

std::string unfinished_run_message(const std::string& description) {
    return std::string(prefix) + description;
}

std::string unfinished_run_without_directory() {
    return std::string(prefix) + "impossibile trovare la cartella che contiene il programma";
}

}  // namespace scenario
