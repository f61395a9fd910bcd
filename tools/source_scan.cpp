#include "source_scan.h"

#include <cmath>

#include "compiler/field_reader.h"

namespace scenario::strumento {

namespace {

std::string minuscole(std::string_view t) {
    std::string r(t);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

bool ha(const std::string& t, std::string_view parte) { return t.find(parte) != std::string::npos; }

std::string_view senza_spazi(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    return t;
}

riga_sorgente analizza_riga(std::string_view testo, int32_t numero, sorgente_testo sorgente) {
    riga_sorgente r;
    r.sorgente = sorgente;
    r.numero = numero;
    r.testo = testo;
    if (testo.empty()) return r;
    lettore_campi lettore(testo);
    try {
        r.parola = lettore.leggi_testo();
        while (!lettore.fine()) r.numeri.push_back(lettore.leggi_intero());
    } catch (const errore_lettura&) {
        // A number beyond 32 bits: the fields before it are enough to locate the line.
    }
    const std::size_t virgola = testo.rfind(',');
    r.ultimo_campo = std::string(senza_spazi(virgola == std::string_view::npos ? testo : testo.substr(virgola + 1)));
    r.tipo = riconosci_elemento(r.parola, sorgente);
    return r;
}

int32_t numero_o_zero(const riga_sorgente& r, std::size_t i) { return i < r.numeri.size() ? r.numeri[i] : 0; }

}  // namespace

elemento riconosci_elemento(std::string_view parola, sorgente_testo sorgente) {
    const std::string p = minuscole(parola);
    if (sorgente == sorgente_testo::linea) {
        if (ha(p, "lunghezza") && ha(p, "percorso")) return elemento::lunghezza_percorso;
        if (ha(p, "progressiva")) return elemento::progressiva;
        if (ha(p, "sfondo")) return elemento::sfondo;
        if (ha(p, "segnali") && ha(p, "ripetizione")) return elemento::ripetizione_segnali;
        if (ha(p, "pendenza")) return elemento::pendenza;
        if (ha(p, "curva")) return elemento::curva;
        if (ha(p, "montagna")) return elemento::galleria;
        if (ha(p, "indicatori_v")) return elemento::indicatore_vmax;
        if (ha(p, "indicat") && ha(p, "cartello")) return elemento::cartello_galleria;
        return elemento::nessuno;
    }
    if (ha(p, "frenata") && ha(p, "massa")) return elemento::massa_frenata;
    if (ha(p, "vetture")) return elemento::vetture;
    if (ha(p, "velocit")) return elemento::velocita;
    if (ha(p, "aderenza")) return elemento::aderenza;
    if (ha(p, "orologio")) return elemento::orologio;
    if (ha(p, "sabbia")) return elemento::sabbia;
    if (ha(p, "segnale")) return elemento::segnale;
    if (ha(p, "rallentamento")) return elemento::rallentamento;
    if (ha(p, "abbattimento")) return elemento::abbattimento;
    if (ha(p, "stazione")) return elemento::stazione;
    return elemento::nessuno;
}

const char* nome_elemento(elemento e) {
    switch (e) {
        case elemento::nessuno: return "line";
        case elemento::lunghezza_percorso: return "route length";
        case elemento::progressiva: return "kilometric progressive";
        case elemento::sfondo: return "scenery value";
        case elemento::ripetizione_segnali: return "signal repetition";
        case elemento::pendenza: return "gradient";
        case elemento::curva: return "curve";
        case elemento::galleria: return "tunnel";
        case elemento::indicatore_vmax: return "maximum-speed board";
        case elemento::cartello_galleria: return "tunnel-name board";
        case elemento::massa_frenata: return "braked mass";
        case elemento::vetture: return "number of coaches";
        case elemento::velocita: return "speed limit";
        case elemento::aderenza: return "adhesion";
        case elemento::orologio: return "clock";
        case elemento::sabbia: return "sand";
        case elemento::segnale: return "signal";
        case elemento::rallentamento: return "slowdown";
        case elemento::abbattimento: return "abbattimento point";
        case elemento::stazione: return "station";
    }
    return "line";
}

std::vector<riga_sorgente> righe_sorgente(std::string_view testo, sorgente_testo sorgente) {
    std::vector<riga_sorgente> righe;
    int32_t numero = 1;
    std::size_t inizio = 0;
    while (inizio < testo.size()) {
        std::size_t fine = inizio;
        while (fine < testo.size() && testo[fine] != '\r' && testo[fine] != '\n') ++fine;
        righe.push_back(analizza_riga(testo.substr(inizio, fine - inizio), numero++, sorgente));
        if (fine < testo.size() && testo[fine] == '\r') {
            ++fine;
            if (fine < testo.size() && testo[fine] == '\n') ++fine;
        } else if (fine < testo.size()) {
            ++fine;  // LF
        }
        inizio = fine;
    }
    return righe;
}

const riga_sorgente* riga_numero(const std::vector<riga_sorgente>& righe, int32_t numero) {
    if (numero < 1 || static_cast<std::size_t>(numero) > righe.size()) return nullptr;
    return &righe[static_cast<std::size_t>(numero - 1)];
}

int32_t cella_di(int64_t posizione, int dopo) {
    return static_cast<int32_t>(std::nearbyint(static_cast<double>(posizione) / 50.0 + dopo));
}

std::vector<elemento_posto> elementi_posti(const std::vector<riga_sorgente>& righe) {
    std::vector<elemento_posto> posti;
    for (const riga_sorgente& r : righe) {
        elemento_posto e{r.tipo, &r, numero_o_zero(r, 0), {}};
        const int64_t p = e.posizione;
        switch (r.tipo) {
            case elemento::indicatore_vmax:
            case elemento::cartello_galleria:
            case elemento::segnale: e.celle.push_back(cella_di(p, 1)); break;
            case elemento::abbattimento: e.celle.push_back(cella_di(p, 0)); break;
            case elemento::rallentamento: {
                const int64_t l = numero_o_zero(r, 2);
                const bool avviso = p > 1500;
                e.celle.push_back(cella_di(p, 1));
                e.celle.push_back(cella_di(p + l, 1));
                if (avviso) e.celle.push_back(cella_di(p - 1200, 1));
                if (avviso && numero_o_zero(r, 4) != 0)
                    for (int k = 0; k < 4; ++k) e.celle.push_back(cella_di(p - 1200, 0) - k);
                break;
            }
            case elemento::stazione: {
                const int64_t tipo = numero_o_zero(r, 1);
                const int64_t l = numero_o_zero(r, 2);
                if (tipo >= 25) break;
                int64_t fine = 0;
                if (tipo == 5 || tipo == 6)
                    fine = p + 150;
                else if (tipo == 7 || tipo == 8)
                    fine = p + l;
                else
                    fine = p + l / 2 + (numero_o_zero(r, 5) != 0 ? 50 : 0);
                e.celle.push_back(static_cast<int32_t>(std::nearbyint(static_cast<double>(fine) / 50.0 - 1)));
                break;
            }
            default: continue;
        }
        posti.push_back(std::move(e));
    }
    return posti;
}

}  // namespace scenario::strumento
