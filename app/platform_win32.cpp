// The program's operating-system layer on Windows: the window with its waiting
// label, the message box, notes for a debugger, and the program directory.
// All text given to Windows goes through the wide-character API, so a program
// directory such as "C:\Scenari\prova è ø" works whatever the system code page.
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include "app/platform.h"

#include <cerrno>
#include <string>
#include <system_error>
#include <vector>
#include <windows.h>

#ifndef SCENARIO_SENZA_INGRESSO
#include "app/form.h"
#endif

namespace scenario::piattaforma {

namespace {

constexpr wchar_t titolo_applicazione[] = L"Calvena - Roccalba Terme, treno 4127";
constexpr wchar_t classe_finestra[] = L"CalvenaRoccalbaForm1";

// Sizes of the form and its label in twips (1440 to the inch), as designed.
constexpr int twip_larghezza_interna = 4200;
constexpr int twip_altezza_interna = 2688;
constexpr int twip_etichetta_x = 960;
constexpr int twip_etichetta_y = 960;
constexpr int twip_etichetta_larghezza = 2652;
constexpr int twip_etichetta_altezza = 792;
constexpr int punti_carattere = 24;

// The window on screen, if any: the message box is owned by it, so that the box
// stays in front of it and the window takes no input while the box is up.
HWND finestra_aperta = nullptr;

// UTF-8 to UTF-16. Text that is not valid UTF-8 (a system message in the ANSI
// code page, say) is read in the system code page instead of being dropped.
std::wstring in_utf16(const std::string& testo) {
    if (testo.empty())
        return {};
    const int lunghezza = static_cast<int>(testo.size());
    for (UINT pagina : {static_cast<UINT>(CP_UTF8), static_cast<UINT>(CP_ACP)}) {
        const DWORD flag = pagina == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
        const int n = MultiByteToWideChar(pagina, flag, testo.data(), lunghezza, nullptr, 0);
        if (n <= 0)
            continue;
        std::wstring risultato(static_cast<std::size_t>(n), L'\0');
        if (MultiByteToWideChar(pagina, flag, testo.data(), lunghezza, risultato.data(), n) == n)
            return risultato;
    }
    return std::wstring(testo.begin(), testo.end());
}

std::string in_utf8(const std::wstring& testo) {
    if (testo.empty())
        return {};
    const int lunghezza = static_cast<int>(testo.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, testo.data(), lunghezza, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string risultato(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, testo.data(), lunghezza, risultato.data(), n, nullptr, nullptr);
    return risultato;
}

// The Windows error code behind a cause. System-category codes are Windows
// codes already; the C runtime reports file failures as errno values, which
// are mapped back to the Windows code it makes each of them from.
DWORD codice_windows(const std::error_code& causa) {
    if (causa.category() == std::system_category())
        return static_cast<DWORD>(causa.value());
    if (causa.category() != std::generic_category())
        return 0;
    switch (causa.value()) {
        case EACCES:
        case EISDIR:
            return ERROR_ACCESS_DENIED;
        case ENOENT:
            return ERROR_PATH_NOT_FOUND;
        case ENOSPC:
            return ERROR_DISK_FULL;
        case EROFS:
            return ERROR_WRITE_PROTECT;
        case EMFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case EEXIST:
            return ERROR_ALREADY_EXISTS;
        case EFBIG:
            return ERROR_FILE_TOO_LARGE;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case EXDEV:
            return ERROR_NOT_SAME_DEVICE;
        case ENOTEMPTY:
            return ERROR_DIR_NOT_EMPTY;
        case EIO:
            return ERROR_WRITE_FAULT;
        default:
            return 0;
    }
}

LRESULT CALLBACK procedura_finestra(HWND hwnd, UINT messaggio, WPARAM wparam, LPARAM lparam) {
    // The run owns the thread and ends the program itself: closing the window
    // from its system menu must not pull it away from under the run.
    if (messaggio == WM_CLOSE)
        return 0;
    return DefWindowProcW(hwnd, messaggio, wparam, lparam);
}

bool registra_classe(HINSTANCE istanza) {
    WNDCLASSEXW classe{};
    classe.cbSize = sizeof classe;
    classe.lpfnWndProc = procedura_finestra;
    classe.hInstance = istanza;
    classe.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));      // IDI_APPLICATION
    classe.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32514));  // IDC_WAIT: the program is busy
    classe.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    classe.lpszClassName = classe_finestra;
    if (RegisterClassExW(&classe) != 0)
        return true;
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

class finestra_win32 final : public finestra {
public:
    finestra_win32(HWND modulo, HFONT carattere) : finestra_(modulo), carattere_(carattere) {
        finestra_aperta = finestra_;
    }
    finestra_win32(const finestra_win32&) = delete;
    finestra_win32& operator=(const finestra_win32&) = delete;

    ~finestra_win32() override {
        if (finestra_aperta == finestra_)
            finestra_aperta = nullptr;
        // Destroying the window destroys the label too; the font outlives both.
        DestroyWindow(finestra_);
        if (carattere_ != nullptr)
            DeleteObject(carattere_);
    }

private:
    HWND finestra_;
    HFONT carattere_;
};

}  // namespace

std::filesystem::path cartella_programma() {
    // Paths may be longer than MAX_PATH: grow the buffer until the name fits.
    std::vector<wchar_t> nome(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, nome.data(), static_cast<DWORD>(nome.size()));
        if (n == 0)
            return std::filesystem::path();
        if (n < nome.size())
            return std::filesystem::path(std::wstring(nome.data(), n)).parent_path();
        if (nome.size() >= 32768)
            return std::filesystem::path();  // longer than any Windows path
        nome.resize(nome.size() * 2);
    }
}

std::unique_ptr<finestra> mostra_finestra() {
    HINSTANCE istanza = GetModuleHandleW(nullptr);
    if (!registra_classe(istanza))
        return nullptr;

    // Twips to pixels at the screen's resolution (15 twips a pixel at 96 dpi).
    HDC schermo = GetDC(nullptr);
    const int dpi_x = schermo != nullptr ? GetDeviceCaps(schermo, LOGPIXELSX) : 96;
    const int dpi_y = schermo != nullptr ? GetDeviceCaps(schermo, LOGPIXELSY) : 96;
    if (schermo != nullptr)
        ReleaseDC(nullptr, schermo);
    auto px = [dpi_x](int twip) { return MulDiv(twip, dpi_x, 1440); };
    auto py = [dpi_y](int twip) { return MulDiv(twip, dpi_y, 1440); };

    // The client area has the designed size; the frame comes on top of it.
    const DWORD stile = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const DWORD stile_esteso = 0;
    RECT cornice{0, 0, px(twip_larghezza_interna), py(twip_altezza_interna)};
    AdjustWindowRectEx(&cornice, stile, FALSE, stile_esteso);

    HWND hwnd = CreateWindowExW(stile_esteso, classe_finestra, titolo_applicazione, stile, CW_USEDEFAULT,
                                CW_USEDEFAULT, cornice.right - cornice.left, cornice.bottom - cornice.top,
                                nullptr, nullptr, istanza, nullptr);
    if (hwnd == nullptr)
        return nullptr;

    HWND etichetta = CreateWindowExW(0, L"STATIC", L"Attendere", WS_CHILD | WS_VISIBLE | SS_LEFT,
                                     px(twip_etichetta_x), py(twip_etichetta_y), px(twip_etichetta_larghezza),
                                     py(twip_etichetta_altezza), hwnd, nullptr, istanza, nullptr);
    HFONT carattere = CreateFontW(-MulDiv(punti_carattere, dpi_y, 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                  ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
    if (etichetta != nullptr && carattere != nullptr) {
        SendMessageW(etichetta, WM_SETFONT, reinterpret_cast<WPARAM>(carattere), FALSE);
    }

    auto risultato = std::make_unique<finestra_win32>(hwnd, carattere);
    // Not modal; painted now, because the run keeps the thread until it ends.
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    return risultato;
}

void mostra_messaggio(const std::string& testo) {
    const std::wstring testo_largo = in_utf16(testo);
    // A copy for a debugger, which sees what the box said after it is gone.
    OutputDebugStringW((testo_largo + L"\n").c_str());
    MessageBoxW(finestra_aperta, testo_largo.c_str(), titolo_applicazione, MB_OK | MB_SETFOREGROUND);
}

std::string system_error_text(const std::error_code& causa) {
    if (!causa)
        return {};
    const DWORD codice = codice_windows(causa);
    wchar_t* testo = nullptr;
    // Language 0: the user's own language, as the system shows its errors.
    const DWORD n = codice == 0
                        ? 0
                        : FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                             FORMAT_MESSAGE_IGNORE_INSERTS,
                                         nullptr, codice, 0, reinterpret_cast<LPWSTR>(&testo), 0, nullptr);
    std::wstring largo = n > 0 && testo != nullptr ? std::wstring(testo, n) : std::wstring();
    if (testo != nullptr)
        LocalFree(testo);
    // The system's texts end in a line break.
    while (!largo.empty() && (largo.back() == L'\n' || largo.back() == L'\r' || largo.back() == L' '))
        largo.pop_back();
    if (largo.empty())
        return causa.message();
    return in_utf8(largo);
}

void annota(const std::string& testo) {
    const std::wstring riga = in_utf16(testo + "\n");
    OutputDebugStringW(riga.c_str());
}

}  // namespace scenario::piattaforma

#ifndef SCENARIO_SENZA_INGRESSO
// The process: create the form and run its start-up handler; its status is the
// program's exit code. Returning closes every file and ends the process.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    scenario::Form1 form;
    return form.Form_Load();
}
#endif
