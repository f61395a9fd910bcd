// Reads a text source one field at a time, the way both text sources are
// meant to be read: never line by line.
//
// Rules:
// - Blanks (space, tab) before a field are skipped.
// - A text field runs to the next comma or line end (CR LF, CR or LF), which is
//   consumed with it; blanks at its end are dropped. A text field that begins
//   with a double quote runs to the closing quote and may hold commas; anything
//   after the closing quote up to the comma or line end is dropped.
// - A number field ends at a blank, a comma or a line end; the blanks after it
//   are skipped together with the one comma or line end that follows them, so
//   "16   19   30" is three numbers.
// - A number is an optional sign followed by decimal digits and nothing else:
//   "7", "+5" and "-17" are numbers; "", "-", "12abc", "1.5" and "1e3" are not
//   and read as 0. A number outside the field's width is a read failure.
// - Reading when the source is already at its end is a read failure; `fine()`
//   is the separate end test the readers make between reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace scenario {

// A read failure: past the end of the source, or a number that does not fit.
// Thrown inside the readers only and turned into error 25 by their handler.
class errore_lettura : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class lettore_campi {
public:
    explicit lettore_campi(std::string_view dati) : dati_(dati) {}

    // True when every byte of the source has been consumed.
    bool fine() const { return pos_ >= dati_.size(); }

    std::string leggi_testo();
    int32_t leggi_intero();    // 32-bit signed
    int16_t leggi_intero16();  // 16-bit signed
    uint8_t leggi_byte();      // 8-bit unsigned, 0..255

    // The 1-based line on which the field last read began (0 before any read).
    int32_t riga() const { return riga_campo_; }

private:
    void inizia_campo();  // checks the end, skips blanks, notes the line
    void salta_spazi();
    void consuma_fine_campo();  // one comma or line end, if there is one
    std::string_view leggi_tra_virgolette();

    std::string_view dati_;
    std::size_t pos_ = 0;
    int32_t riga_ = 1;
    int32_t riga_campo_ = 0;
};

}  // namespace scenario
