// `scenario dump FILE...`: compiled files decoded into JSON.
#pragma once

#include "tools/arguments.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace scenario::strumento {

enum class tipo_compilato { linea, corsa, celle };

// "line", "run", "cells".
const char* nome_tipo(tipo_compilato t);
std::optional<tipo_compilato> tipo_da_testo(std::string_view t);

// By file name: *_linea.dat is a line file, *.sim a run file, other *.dat a cell file.
std::optional<tipo_compilato> tipo_da_nome(const std::filesystem::path& p);

// A closed range of plan points, FROM:TO (either may be left out).
struct intervallo_punti {
    int64_t da = 0;
    std::optional<int64_t> a;
};
std::optional<intervallo_punti> analizza_intervallo(std::string_view t);

extern const opzioni_ammesse opzioni_dump;
extern const char* const aiuto_dump;
int comando_dump(const argomenti& a, std::ostream& out, std::ostream& err);

}  // namespace scenario::strumento
