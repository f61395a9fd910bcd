// The program's operating-system layer on Linux: the program directory, messages
// on standard error, and the window with its waiting label (Xlib and Xft).
//
// Xlib and Xft are not linked: they are loaded when a display is named, so the
// program starts without the twenty libraries they pull in, and runs on (without
// a window) on a machine that lacks them. Their headers give only the types.
#include "app/platform.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#ifndef SCENARIO_SENZA_X11
#include <X11/Xatom.h>
#include <X11/Xft/Xft.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <cstring>
#include <dlfcn.h>
#include <optional>
#include <poll.h>
#endif

#ifndef SCENARIO_SENZA_INGRESSO
#include "app/form.h"
#endif

namespace scenario::piattaforma {

std::filesystem::path cartella_programma() {
    std::error_code ec;
    const auto eseguibile = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || !eseguibile.is_absolute())
        return {};
    return eseguibile.parent_path();
}

void mostra_messaggio(const std::string& testo) {
    std::fprintf(stderr, "%s\n", testo.c_str());
    std::fflush(stderr);
}

std::string system_error_text(const std::error_code& cause) {
    return cause ? cause.message() : std::string();
}

void annota(const std::string& testo) {
    std::fprintf(stderr, "%s\n", testo.c_str());
    std::fflush(stderr);
}

#ifdef SCENARIO_SENZA_X11

std::unique_ptr<finestra> mostra_finestra() {
    return nullptr;
}

#else

namespace {

// The functions of Xlib and Xft that the window uses, looked up by name in the
// libraries loaded at run time.
using io_error_exit_handler = void (*)(Display*, void*);

struct x_library {
    decltype(&XSetErrorHandler) SetErrorHandler = nullptr;
    decltype(&XSetIOErrorHandler) SetIOErrorHandler = nullptr;
    // Since libX11 1.7 a lost display connection need not end the process;
    // absent from older libraries, so it may stay null.
    void (*SetIOErrorExitHandler)(Display*, io_error_exit_handler, void*) = nullptr;
    decltype(&XOpenDisplay) OpenDisplay = nullptr;
    decltype(&XCloseDisplay) CloseDisplay = nullptr;
    decltype(&XCreateWindow) CreateWindow = nullptr;
    decltype(&XDestroyWindow) DestroyWindow = nullptr;
    decltype(&XMapWindow) MapWindow = nullptr;
    decltype(&XStoreName) StoreName = nullptr;
    decltype(&XInternAtom) InternAtom = nullptr;
    decltype(&XChangeProperty) ChangeProperty = nullptr;
    decltype(&XAllocSizeHints) AllocSizeHints = nullptr;
    decltype(&XSetWMNormalHints) SetWMNormalHints = nullptr;
    decltype(&XAllocClassHint) AllocClassHint = nullptr;
    decltype(&XSetClassHint) SetClassHint = nullptr;
    decltype(&XSetWMProtocols) SetWMProtocols = nullptr;
    decltype(&XFree) Free = nullptr;
    decltype(&XAllocColor) AllocColor = nullptr;
    decltype(&XPending) Pending = nullptr;
    decltype(&XNextEvent) NextEvent = nullptr;
    decltype(&XSync) Sync = nullptr;

    decltype(&XftFontOpenName) FontOpenName = nullptr;
    decltype(&XftFontClose) FontClose = nullptr;
    decltype(&XftTextExtentsUtf8) TextExtentsUtf8 = nullptr;
    decltype(&XftDrawCreate) DrawCreate = nullptr;
    decltype(&XftDrawDestroy) DrawDestroy = nullptr;
    decltype(&XftDrawSetClipRectangles) DrawSetClipRectangles = nullptr;
    decltype(&XftDrawStringUtf8) DrawStringUtf8 = nullptr;
    decltype(&XftColorAllocValue) ColorAllocValue = nullptr;
    decltype(&XftColorFree) ColorFree = nullptr;
};

template <typename Function>
bool resolve(void* library, const char* name, Function& slot) {
    slot = reinterpret_cast<Function>(dlsym(library, name));
    return slot != nullptr;
}

// Loads Xlib and Xft and looks up every function of the table; nothing when a
// library or a function is missing. The libraries stay loaded for the life of
// the process: fontconfig and Xlib keep state that unloading would leave
// dangling.
std::optional<x_library> load_x_library() {
    void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (xlib == nullptr)
        return std::nullopt;
    void* xft = dlopen("libXft.so.2", RTLD_NOW | RTLD_LOCAL);
    if (xft == nullptr) {
        dlclose(xlib);
        return std::nullopt;
    }
    x_library x;
    const bool found =
        resolve(xlib, "XSetErrorHandler", x.SetErrorHandler) &&
        resolve(xlib, "XSetIOErrorHandler", x.SetIOErrorHandler) &&
        resolve(xlib, "XOpenDisplay", x.OpenDisplay) && resolve(xlib, "XCloseDisplay", x.CloseDisplay) &&
        resolve(xlib, "XCreateWindow", x.CreateWindow) && resolve(xlib, "XDestroyWindow", x.DestroyWindow) &&
        resolve(xlib, "XMapWindow", x.MapWindow) && resolve(xlib, "XStoreName", x.StoreName) &&
        resolve(xlib, "XInternAtom", x.InternAtom) && resolve(xlib, "XChangeProperty", x.ChangeProperty) &&
        resolve(xlib, "XAllocSizeHints", x.AllocSizeHints) &&
        resolve(xlib, "XSetWMNormalHints", x.SetWMNormalHints) &&
        resolve(xlib, "XAllocClassHint", x.AllocClassHint) &&
        resolve(xlib, "XSetClassHint", x.SetClassHint) &&
        resolve(xlib, "XSetWMProtocols", x.SetWMProtocols) && resolve(xlib, "XFree", x.Free) &&
        resolve(xlib, "XAllocColor", x.AllocColor) && resolve(xlib, "XPending", x.Pending) &&
        resolve(xlib, "XNextEvent", x.NextEvent) && resolve(xlib, "XSync", x.Sync) &&
        resolve(xft, "XftFontOpenName", x.FontOpenName) && resolve(xft, "XftFontClose", x.FontClose) &&
        resolve(xft, "XftTextExtentsUtf8", x.TextExtentsUtf8) &&
        resolve(xft, "XftDrawCreate", x.DrawCreate) && resolve(xft, "XftDrawDestroy", x.DrawDestroy) &&
        resolve(xft, "XftDrawSetClipRectangles", x.DrawSetClipRectangles) &&
        resolve(xft, "XftDrawStringUtf8", x.DrawStringUtf8) &&
        resolve(xft, "XftColorAllocValue", x.ColorAllocValue) && resolve(xft, "XftColorFree", x.ColorFree);
    if (!found) {
        dlclose(xft);
        dlclose(xlib);
        return std::nullopt;
    }
    resolve(xlib, "XSetIOErrorExitHandler", x.SetIOErrorExitHandler);
    return x;
}

constexpr const char* titolo = "Calvena - Roccalba Terme, treno 4127";
constexpr const char* classe = "calvena_roccalba";
constexpr const char* testo_etichetta = "Attendere";

// Pixels at 96 dots per inch.
constexpr unsigned larghezza_interna = 280;
constexpr unsigned altezza_interna = 179;
constexpr int etichetta_x = 64;
constexpr int etichetta_y = 64;
constexpr int etichetta_larghezza = 177;
constexpr int etichetta_altezza = 53;

// A bold sans face of 24 points (32 pixels at 96 dpi). Faces with the narrow
// metrics of the designed one come first, so the word fits its label.
constexpr const char* famiglie = "Liberation Sans,Arimo,Arial,Helvetica,Nimbus Sans,Sans";
constexpr int pixel_carattere = 32;

// The grey of a classic dialog face.
constexpr unsigned short grigio_rosso = 0xD4, grigio_verde = 0xD0, grigio_blu = 0xC8;

// How long to wait for the server to show the window before painting anyway.
constexpr std::chrono::milliseconds attesa_massima_esposizione{1000};

// The window is a courtesy: no X error and no lost connection may stop the run.
int ignora_errore(Display*, XErrorEvent*) {
    return 0;
}
int ignora_errore_io(Display*) {
    return 0;
}
void non_uscire(Display*, void*) {}

XftFont* apri_carattere(const x_library& x, Display* d, int schermo, int pixel) {
    const std::string nome = std::string(famiglie) + ":bold:pixelsize=" + std::to_string(pixel);
    return x.FontOpenName(d, schermo, nome.c_str());
}

int larghezza_testo(const x_library& x, Display* d, XftFont* f, const char* testo) {
    XGlyphInfo misura{};
    x.TextExtentsUtf8(d, f, reinterpret_cast<const FcChar8*>(testo), int(std::strlen(testo)), &misura);
    return misura.xOff;
}

// The label's face; made smaller when the face found is too wide for the label,
// so the whole word shows.
XftFont* carattere_etichetta(const x_library& x, Display* d, int schermo) {
    XftFont* f = apri_carattere(x, d, schermo, pixel_carattere);
    if (f == nullptr)
        return nullptr;
    const int larghezza = larghezza_testo(x, d, f, testo_etichetta);
    if (larghezza <= etichetta_larghezza)
        return f;
    const int pixel = pixel_carattere * etichetta_larghezza / larghezza;
    XftFont* piu_piccolo = apri_carattere(x, d, schermo, pixel);
    if (piu_piccolo == nullptr)
        return f;
    x.FontClose(d, f);
    return piu_piccolo;
}

unsigned long grigio(const x_library& x, Display* d, int schermo) {
    XColor colore{};
    colore.red = static_cast<unsigned short>(grigio_rosso * 0x101);
    colore.green = static_cast<unsigned short>(grigio_verde * 0x101);
    colore.blue = static_cast<unsigned short>(grigio_blu * 0x101);
    colore.flags = DoRed | DoGreen | DoBlue;
    if (x.AllocColor(d, DefaultColormap(d, schermo), &colore) != 0)
        return colore.pixel;
    return WhitePixel(d, schermo);
}

void imposta_proprieta(const x_library& x, Display* d, Window w) {
    x.StoreName(d, w, titolo);
    const Atom utf8 = x.InternAtom(d, "UTF8_STRING", False);
    x.ChangeProperty(d, w, x.InternAtom(d, "_NET_WM_NAME", False), utf8, 8, PropModeReplace,
                     reinterpret_cast<const unsigned char*>(titolo), int(std::strlen(titolo)));

    // Fixed size; no position, so the window manager places it as it places any new window.
    XSizeHints* misure = x.AllocSizeHints();
    if (misure != nullptr) {
        misure->flags = PSize | PMinSize | PMaxSize;
        misure->width = misure->min_width = misure->max_width = int(larghezza_interna);
        misure->height = misure->min_height = misure->max_height = int(altezza_interna);
        x.SetWMNormalHints(d, w, misure);
        x.Free(misure);
    }

    XClassHint* nome_classe = x.AllocClassHint();
    if (nome_classe != nullptr) {
        std::string nome(classe), classe_maiuscola(classe);
        classe_maiuscola[0] = 'C';
        nome_classe->res_name = nome.data();
        nome_classe->res_class = classe_maiuscola.data();
        x.SetClassHint(d, w, nome_classe);
        x.Free(nome_classe);
    }

    // The run owns the thread and ends the program itself: a click on the close
    // button must reach the window (which ignores it), not kill the process.
    Atom chiusura = x.InternAtom(d, "WM_DELETE_WINDOW", False);
    x.SetWMProtocols(d, w, &chiusura, 1);
}

// Waits, at most attesa_massima_esposizione, until the server first shows the window.
void attendi_esposizione(const x_library& x, Display* d, Window w) {
    using orologio = std::chrono::steady_clock;
    const auto scadenza = orologio::now() + attesa_massima_esposizione;
    for (;;) {
        while (x.Pending(d) > 0) {
            XEvent evento;
            x.NextEvent(d, &evento);
            if (evento.type == Expose && evento.xexpose.window == w)
                return;
        }
        const auto resto = std::chrono::duration_cast<std::chrono::milliseconds>(scadenza - orologio::now());
        if (resto.count() <= 0)
            return;
        pollfd connessione{ConnectionNumber(d), POLLIN, 0};
        if (poll(&connessione, 1, int(resto.count()) + 1) < 0 ||
            (connessione.revents & (POLLERR | POLLHUP)) != 0)
            return;
    }
}

class finestra_x11 final : public finestra {
public:
    finestra_x11(const x_library& x, Display* d, Window w) : x_(x), d_(d), w_(w) {}
    finestra_x11(const finestra_x11&) = delete;
    finestra_x11& operator=(const finestra_x11&) = delete;

    ~finestra_x11() override {
        if (disegno_ != nullptr)
            x_.DrawDestroy(disegno_);
        if (colore_pronto_)
            x_.ColorFree(d_, visuale_, mappa_, &nero_);
        if (carattere_ != nullptr)
            x_.FontClose(d_, carattere_);
        x_.DestroyWindow(d_, w_);
        x_.CloseDisplay(d_);
    }

    // Draws the label: black text from the label's top left, kept inside its rectangle.
    void disegna_etichetta() {
        const int schermo = DefaultScreen(d_);
        visuale_ = DefaultVisual(d_, schermo);
        mappa_ = DefaultColormap(d_, schermo);
        carattere_ = carattere_etichetta(x_, d_, schermo);
        disegno_ = x_.DrawCreate(d_, w_, visuale_, mappa_);
        const XRenderColor nero{0, 0, 0, 0xFFFF};
        colore_pronto_ = x_.ColorAllocValue(d_, visuale_, mappa_, &nero, &nero_) != 0;
        if (carattere_ == nullptr || disegno_ == nullptr || !colore_pronto_)
            return;

        XRectangle etichetta{etichetta_x, etichetta_y, etichetta_larghezza, etichetta_altezza};
        x_.DrawSetClipRectangles(disegno_, 0, 0, &etichetta, 1);
        x_.DrawStringUtf8(disegno_, &nero_, carattere_, etichetta_x, etichetta_y + carattere_->ascent,
                          reinterpret_cast<const FcChar8*>(testo_etichetta),
                          int(std::strlen(testo_etichetta)));
    }

private:
    x_library x_;
    Display* d_;
    Window w_;
    Visual* visuale_ = nullptr;
    Colormap mappa_ = 0;
    XftFont* carattere_ = nullptr;
    XftDraw* disegno_ = nullptr;
    XftColor nero_{};
    bool colore_pronto_ = false;
};

}  // namespace

std::unique_ptr<finestra> mostra_finestra() {
    // No display named: nothing to load, the run goes on without a window.
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0')
        return nullptr;
    const std::optional<x_library> loaded = load_x_library();
    if (!loaded)
        return nullptr;  // no Xlib or Xft on this machine: no window either
    const x_library& x = *loaded;

    x.SetErrorHandler(ignora_errore);
    x.SetIOErrorHandler(ignora_errore_io);
    Display* d = x.OpenDisplay(nullptr);
    if (d == nullptr)
        return nullptr;  // no display: the run goes on without a window
    if (x.SetIOErrorExitHandler != nullptr)
        x.SetIOErrorExitHandler(d, non_uscire, nullptr);

    const int schermo = DefaultScreen(d);
    XSetWindowAttributes attributi{};
    attributi.background_pixel = grigio(x, d, schermo);
    attributi.border_pixel = BlackPixel(d, schermo);
    attributi.event_mask = ExposureMask;
    // Nothing repaints the window during the run: let the server keep its
    // content when it is covered, where the server can.
    attributi.backing_store = Always;
    const Window w = x.CreateWindow(d, RootWindow(d, schermo), 0, 0, larghezza_interna, altezza_interna, 0,
                                    CopyFromParent, InputOutput, CopyFromParent,
                                    CWBackPixel | CWBorderPixel | CWEventMask | CWBackingStore, &attributi);
    auto risultato = std::make_unique<finestra_x11>(x, d, w);
    imposta_proprieta(x, d, w);

    // Shown not modal and painted now: the run keeps the thread until it ends.
    x.MapWindow(d, w);
    attendi_esposizione(x, d, w);
    risultato->disegna_etichetta();
    x.Sync(d, False);
    return risultato;
}

#endif  // SCENARIO_SENZA_X11

}  // namespace scenario::piattaforma

#ifndef SCENARIO_SENZA_X11
#if defined(__SANITIZE_ADDRESS__)
#define SCENARIO_CON_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SCENARIO_CON_ASAN 1
#endif
#endif
#ifdef SCENARIO_CON_ASAN
// Fontconfig keeps the configuration it parsed when the face was chosen for the
// life of the process; the leak checker of a sanitizer build is told so.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
#endif
#endif

#ifndef SCENARIO_SENZA_INGRESSO
int main() {
    // A file over the size limit must become a write error that the run
    // reports, not a signal that kills the program half way.
    std::signal(SIGXFSZ, SIG_IGN);
    // Nor may a lost display connection or a closed standard error.
    std::signal(SIGPIPE, SIG_IGN);

    scenario::Form1 form;
    return form.Form_Load();
}
#endif
