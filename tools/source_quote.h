// Quoting the text sources in messages: a line's text by its number, and its
// comma-separated fields. Only for showing what an author wrote; what a line
// means, and which cells it takes, is the compiler's to say.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace scenario::strumento {

// The lines of a source, numbered from 1 as the compiler's field reader
// numbers them (CR LF, CR or LF ends a line).
class righe_testo {
public:
    explicit righe_testo(std::string_view testo);
    // Line `numero` without its line end; empty when there is no such line.
    std::string_view riga(int32_t numero) const;

private:
    std::string_view testo_;
    std::vector<std::size_t> inizi_;  // where each line starts
};

// The comma-separated fields of a line, blanks around each one dropped.
std::vector<std::string_view> campi_riga(std::string_view riga);

// A field that is a whole number of 32 bits, as written.
std::optional<int32_t> numero_scritto(std::string_view campo);

}  // namespace scenario::strumento
