// GDAL set up once for the tool: every driver registered, its own messages
// kept for our errors instead of printed on standard error.
#pragma once

#include <string>

namespace scenario::geodata {

// Registers GDAL's drivers (once) and silences its printing.
void start_gdal();

// The last message GDAL gave (empty when none), and forgets it.
std::string take_gdal_message();

}  // namespace scenario::geodata
