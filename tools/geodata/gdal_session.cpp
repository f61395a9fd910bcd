// GDAL set up once: drivers registered, messages caught for our own errors.
#include "tools/geodata/gdal_session.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal.h>
#include <mutex>

namespace scenario::geodata {

namespace {

std::mutex message_lock;
std::string last_message;

void keep_message(CPLErr level, CPLErrorNum, const char* text) {
    if (level < CE_Failure || text == nullptr)
        return;  // GDAL's warnings and debug notes are not ours to print
    std::lock_guard<std::mutex> hold(message_lock);
    last_message = text;
}

}  // namespace

void start_gdal() {
    static std::once_flag once;
    std::call_once(once, [] {
        CPLSetErrorHandler(keep_message);
        // Nothing is fetched over the network while reading an author's file.
        CPLSetConfigOption("GDAL_HTTP_TIMEOUT", "1");
        CPLSetConfigOption("CPL_VSIL_CURL_ALLOWED_EXTENSIONS", "none");
        GDALAllRegister();
    });
}

std::string take_gdal_message() {
    std::lock_guard<std::mutex> hold(message_lock);
    std::string m;
    m.swap(last_message);
    return m;
}

}  // namespace scenario::geodata
