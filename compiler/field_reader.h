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

#include "compiler/compile_log.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// A read failure: past the end of the source, or a number that does not fit.
// Thrown inside the readers only and turned into error 25 by their handler.
class errore_lettura : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    // A value read on an earlier line (`riga_valore`) fails only now.
    errore_lettura(const char* motivo, const source_place& riga_valore)
        : std::runtime_error(motivo), riga_valore_(riga_valore) {}
    const source_place& riga_valore() const { return riga_valore_; }

private:
    source_place riga_valore_{};
};

// The field reader. Its reading operations keep the program's own Italian
// names (`leggi_intero`, `leggi_testo` ...); what it records for the compile
// log (`record`, `last_record`) is the tool's side and named in English.
class lettore_campi {
public:
    // With `records`, every field read is appended there as read from `source`.
    explicit lettore_campi(std::string_view dati, std::vector<field_record>* records = nullptr,
                           sorgente_testo source = sorgente_testo::linea)
        : dati_(dati), records_(records), source_(source) {}

    // True when every byte of the source has been consumed.
    bool fine() const { return pos_ >= dati_.size(); }

    std::string leggi_parola_chiave();  // a keyword field: text, recorded as a keyword
    std::string leggi_testo();          // a text value (board text, station name)
    int32_t leggi_intero();             // 32-bit signed
    int16_t leggi_intero16();           // 16-bit signed
    uint8_t leggi_byte();               // 8-bit unsigned, 0..255

    // The 1-based line on which the field last read began (0 before any read).
    int32_t riga() const { return riga_campo_; }
    // The reader goes on to section `s`, opened by the field last read: the
    // fields read from now on are recorded as in it.
    void open_section(source_section s) {
        section_ = s;
        if (records_ != nullptr && !records_->empty() && records_->back().source == source_)
            records_->back().opens = s;
    }

    // The index in the records of the field last read; -1 when not recording.
    int32_t last_record() const {
        return records_ == nullptr || records_->empty() ? -1 : static_cast<int32_t>(records_->size() - 1);
    }

private:
    void inizia_campo();  // checks the end, skips blanks, notes the line
    void salta_spazi();
    void consuma_fine_campo();  // one comma or line end, if there is one
    std::string_view leggi_tra_virgolette();
    std::string leggi_campo_testo(field_role role);
    int32_t leggi_numero(field_width width);
    void record(std::size_t start, std::size_t end, field_role role, field_width width, field_reading reading,
                int32_t value, std::string text);

    std::string_view dati_;
    std::vector<field_record>* records_;
    sorgente_testo source_;
    source_section section_ = source_section::before_header;
    std::size_t pos_ = 0;
    int32_t riga_ = 1;
    int32_t riga_campo_ = 0;
    std::size_t line_start_ = 0;        // offset of the line being read
    std::size_t field_line_start_ = 0;  // offset of the line the field last read began on
};

}  // namespace scenario
