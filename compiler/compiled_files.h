// The three compiled files: the line file (track plan), the run file (`voci`)
// and the cell file (`celle`). Little-endian, packed field after field, texts
// as a 16-bit length and their bytes. The run and cell files are encoded into
// a buffer and written in one go; the line file, up to megabytes, in pieces.
#pragma once

#include "common/file_replace.h"
#include "common/result.h"
#include "compiler/state.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// The line file's bytes in order, handed over in pieces of at most
// plan_piece_bytes from one reused buffer. A plan without `keep_points` is
// encoded from its runs, each point computed again: the same bytes.
inline constexpr std::size_t plan_piece_bytes = 64 * 1024;
void encode_plan_in_pieces(const tracciato_linea& t, const piece_writer& write);
// The size of the line file for `t`.
std::size_t line_file_bytes(const tracciato_linea& t);

std::string codifica_tracciato(const tracciato_linea& t);
// The same into `dati`, replacing what it held but keeping its storage, for a
// caller that encodes many plans in turn.
void codifica_tracciato(const tracciato_linea& t, std::string& dati);
std::string codifica_voci(const std::array<voce, numero_voci>& voci);
std::string codifica_celle(const std::vector<cella>& celle);

// Writes the line file (only when `compila_linea` is nonzero), then the run
// file, then the cell file into `cartella`, each replaced whole. Gives nothing
// on success, or the failure (the step, the file, the system's error; later
// files are then not written).
result<void, file_failure> scrivi_file_compilati(const stato_scenario& s,
                                                 const std::filesystem::path& cartella);

// Decoding, for tools and tests. On failure `offset` is the byte offset where
// the data stopped making sense and `messaggio` says why.
struct errore_decodifica {
    std::size_t offset = 0;
    std::string messaggio;
};
result<void, errore_decodifica> decodifica_tracciato(std::string_view dati, tracciato_linea& t);
result<void, errore_decodifica> decodifica_voci(std::string_view dati, std::array<voce, numero_voci>& voci);
result<void, errore_decodifica> decodifica_celle(std::string_view dati, std::vector<cella>& celle);

}  // namespace scenario
