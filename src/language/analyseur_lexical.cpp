// A hand-written scanner over a block buffer. At each call it skips blanks and
// newlines, then takes the longest token at the current position; among
// tokens of equal length the keyword wins over the name.
#include "language/analyseur_lexical.h"

#include "driver/erreurs.h"
#include "driver/journal.h"
#include "language/jetons.h"
#include "store/flux.h"
#include "store/memoire.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

int32_t num_ligne = 1;
std::string_view yylval;
fins_items yyitems;
const char* yytext = "";
size_t yyleng = 0;

namespace {

constexpr size_t TAILLE_BLOC = 1 << 18;

enum classe_octet : unsigned char {
    C_AUTRE,       // a one-character token of its own
    C_BLANC,       // space, tab
    C_LIGNE,       // line feed
    C_LETTRE,      // A-Z, a-z, _
    C_CHIFFRE,     // 0-9
    C_COMPARAISON, // < = >
    C_AROBASE,     // @, which may start a statement keyword
    C_INVALIDE,    // NUL and 0x80-0xFF
};

struct table_classes {
    classe_octet classe[256];
    bool dans_liste[256]; // letters, digits and the comma
    constexpr table_classes() : classe(), dans_liste() {
        for (int c = 0; c < 256; c++) classe[c] = c >= 0x80 ? C_INVALIDE : C_AUTRE;
        classe[0] = C_INVALIDE;
        classe[int{' '}] = classe[int{'\t'}] = C_BLANC;
        classe[int{'\n'}] = C_LIGNE;
        for (int c = 'A'; c <= 'Z'; c++) classe[c] = C_LETTRE;
        for (int c = 'a'; c <= 'z'; c++) classe[c] = C_LETTRE;
        classe[int{'_'}] = C_LETTRE;
        for (int c = '0'; c <= '9'; c++) classe[c] = C_CHIFFRE;
        classe[int{'<'}] = classe[int{'='}] = classe[int{'>'}] = C_COMPARAISON;
        classe[int{'@'}] = C_AROBASE;
        for (int c = 0; c < 256; c++)
            dans_liste[c] = classe[c] == C_LETTRE || classe[c] == C_CHIFFRE || c == ',';
    }
};
constexpr table_classes classes;

// The scanner's input: bytes [pos, fin) of `tampon` are read and not yet
// consumed; `pos` is the start of the token being matched.
struct lecteur {
    FILE* flux = nullptr;
    bool demarre = false;
    bool epuise = false;
    std::vector<char> tampon;
    size_t pos = 0;
    size_t fin = 0;
};
lecteur lec;

void demarrer() {
    if (!lec.flux) lec.flux = yyin ? yyin : stdin;
    if (!yyout) yyout = stdout;
    try {
        lec.tampon.resize(2 * TAILLE_BLOC);
    } catch (const std::bad_alloc&) {
        echec_analyseur("out of dynamic memory in yy_create_buffer()");
    }
    lec.demarre = true;
}

// Reads the next block, keeping the unconsumed bytes; the buffer grows when a
// single token fills it.
void remplir() {
    if (lec.pos > 0) {
        std::memmove(lec.tampon.data(), lec.tampon.data() + lec.pos, lec.fin - lec.pos);
        lec.fin -= lec.pos;
        lec.pos = 0;
    }
    if (lec.tampon.size() - lec.fin < TAILLE_BLOC) {
        // The buffer counts against the memory ceiling like the store.
        size_t taille = lec.tampon.size();
        if (!essayer_memoire(taille))
            echec_analyseur("fatal error - scanner input buffer overflow");
        try {
            lec.tampon.resize(taille * 2);
        } catch (const std::bad_alloc&) {
            echec_analyseur("fatal error - scanner input buffer overflow");
        }
    }
    size_t lus = std::fread(lec.tampon.data() + lec.fin, 1, lec.tampon.size() - lec.fin, lec.flux);
    lec.fin += lus;
    // Bytes that came before a read error are still scanned; the run fails
    // at the first read that brings nothing.
    if (lus == 0 && std::ferror(lec.flux)) echec_analyseur("input in flex scanner failed");
    if (lus == 0 || std::feof(lec.flux)) lec.epuise = true;
}

// The byte `i` places after the token start, or -1 past the end of the input.
int regarder_lent(size_t i) {
    while (lec.pos + i >= lec.fin && !lec.epuise) remplir();
    return lec.pos + i < lec.fin ? static_cast<unsigned char>(lec.tampon[lec.pos + i]) : -1;
}

inline int regarder(size_t i) {
    if (lec.pos + i < lec.fin) return static_cast<unsigned char>(lec.tampon[lec.pos + i]);
    return regarder_lent(i);
}

#if defined(__SSE2__)
// A bit for each of the 16 bytes at `p` that may be in a list: a letter, a
// digit, '_' or ','. Bytes from 0x80 are negative here, so never in range.
inline unsigned masque_liste(const char* p) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    auto entre = [](__m128i x, char bas, char haut) {
        return _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8(static_cast<char>(bas - 1))),
                             _mm_cmplt_epi8(x, _mm_set1_epi8(static_cast<char>(haut + 1))));
    };
    __m128i lettre = entre(_mm_or_si128(v, _mm_set1_epi8(0x20)), 'a', 'z');
    __m128i m = _mm_or_si128(lettre, entre(v, '0', '9'));
    m = _mm_or_si128(m, _mm_cmpeq_epi8(v, _mm_set1_epi8('_')));
    m = _mm_or_si128(m, _mm_cmpeq_epi8(v, _mm_set1_epi8(',')));
    return static_cast<unsigned>(_mm_movemask_epi8(m));
}

// A bit for each of the 16 bytes at `p` that is a comma.
inline unsigned masque_virgules(const char* p) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(','))));
}
#endif

// The first byte from `p` on that is not a letter, a digit or a comma, or
// `fin`. 16 bytes are read at a time while `lisible` allows: the bytes past
// `fin` are in the buffer, and what they hold is ignored.
inline const char* fin_suite(const char* p, const char* fin, const char* lisible) {
#if defined(__SSE2__)
    for (; p < fin && p + 16 <= lisible; p += 16)
        if (unsigned hors = ~masque_liste(p) & 0xFFFFu)
            return std::min(p + __builtin_ctz(hors), fin);
#else
    (void)lisible;
#endif
    while (p < fin && classes.dans_liste[static_cast<unsigned char>(*p)]) p++;
    return std::min(p, fin);
}

// The length of the run of letters, digits and commas from the token start,
// reading more input when the run reaches the end of the buffer.
size_t passer_suite() {
    size_t i = 0;
    for (;;) {
        const char* debut = lec.tampon.data() + lec.pos;
        const char* fin = lec.tampon.data() + lec.fin;
        const char* p = fin_suite(debut + i, fin, lec.tampon.data() + lec.tampon.size());
        i = static_cast<size_t>(p - debut);
        if (p < fin || lec.epuise) return i;
        remplir();
    }
}

// Offset just past the item starting at offset `i` of `texte`: a name (a
// letter, then letters and digits) or an integer (digits only). `texte` up
// to `n` is a run of letters, digits and commas; it may be read up to
// `lisible`.
size_t fin_item(const char* texte, size_t i, size_t n, size_t lisible) {
    if (classes.classe[static_cast<unsigned char>(texte[i])] == C_LETTRE) {
        i++;
#if defined(__SSE2__)
        // The run has no other byte than a comma to end a name.
        for (; i < n && i + 16 <= lisible; i += 16)
            if (unsigned virgules = masque_virgules(texte + i))
                return std::min(i + __builtin_ctz(virgules), n);
#else
        (void)lisible;
#endif
        while (i < n && texte[i] != ',') i++;
        return std::min(i, n);
    }
    while (i < n && classes.classe[static_cast<unsigned char>(texte[i])] == C_CHIFFRE) i++;
    return i;
}

// Skips blanks and newlines, counting lines; answers the next byte or -1.
int passer_blancs() {
    for (;;) {
        const char* p = lec.tampon.data() + lec.pos;
        const char* fin = lec.tampon.data() + lec.fin;
        while (p < fin) {
            if (*p == ' ' || *p == '\t') {
                p++;
            } else if (*p == '\n') {
                num_ligne = static_cast<int32_t>(static_cast<uint32_t>(num_ligne) + 1u);
                p++;
            } else {
                lec.pos = static_cast<size_t>(p - lec.tampon.data());
                return static_cast<unsigned char>(*p);
            }
        }
        lec.pos = lec.fin;
        if (lec.epuise) return -1;
        remplir();
    }
}

int rendre_jeton(size_t longueur, int code) {
    yytext = lec.tampon.data() + lec.pos;
    yyleng = longueur;
    lec.pos += longueur;
    return code;
}

int rendre_valeur(size_t longueur, int code) {
    yylval = std::string_view(lec.tampon.data() + lec.pos, longueur);
    return rendre_jeton(longueur, code);
}

int mot_cle(const char* texte, size_t longueur) {
    if (longueur < 2 || longueur > 7 || texte[0] < 'A' || texte[0] > 'W') return 0;
    static const struct {
        const char* mot;
        int code;
    } mots[] = {{"WHERE", WHERE}, {"PROJECT", PROJECT}, {"JOIN", JOIN}, {"UNION", UNION},
                {"MINUS", MINUS}, {"RENAME", RENAME},   {"AS", AS}};
    for (const auto& m : mots)
        if (std::strlen(m.mot) == longueur && std::memcmp(m.mot, texte, longueur) == 0)
            return m.code;
    return 0;
}

// item | item (',' item)+ | keyword. The token lies in the run of letters,
// digits and commas that starts here: a comma continues a list only when an
// item follows it, and an integer ends at its first letter.
[[gnu::always_inline]] inline int lire_item() {
    size_t n = passer_suite();
    const char* texte = lec.tampon.data() + lec.pos;
    size_t lisible = lec.tampon.size() - lec.pos;
    size_t premier = fin_item(texte, 0, n, lisible);
    size_t fin = premier;
    yyitems.nombre = 0;
    // Each item's end is noted as it is found; past MAX_LISTE characters the
    // list is refused whole, and the notes stop.
    auto noter = [](size_t fin_lue) {
        if (fin_lue <= MAX_LISTE) yyitems.fins[yyitems.nombre++] = static_cast<uint8_t>(fin_lue);
    };
    noter(premier);
    while (fin + 1 < n && texte[fin] == ',' && texte[fin + 1] != ',') {
        fin = fin_item(texte, fin + 1, n, lisible);
        noter(fin);
    }
    if (fin > premier) return rendre_valeur(fin, LISTE);
    int code = mot_cle(texte, premier);
    return code ? rendre_jeton(premier, code) : rendre_valeur(premier, IDENT);
}

// "@relation " | "@data " | "@let " | "@print" | '@'
[[gnu::always_inline]] inline int lire_arobase() {
    const char* mot = nullptr;
    int code = '@';
    switch (regarder(1)) {
    case 'r': mot = "@relation ", code = AT_RELATION; break;
    case 'd': mot = "@data ", code = AT_DATA; break;
    case 'l': mot = "@let ", code = AT_LET; break;
    case 'p': mot = "@print", code = AT_PRINT; break;
    default: return rendre_jeton(1, '@');
    }
    size_t longueur = std::strlen(mot);
    for (size_t i = 2; i < longueur; i++)
        if (regarder(i) != static_cast<unsigned char>(mot[i])) return rendre_jeton(1, '@');
    return rendre_jeton(longueur, code);
}

// The token that starts at the byte `c` (-1: the input is exhausted).
// Inlined in both callers: it is the scanner's hot path.
[[gnu::always_inline]] inline int lire_jeton(int c) {
    if (c < 0) {
        lec.pos = lec.fin = 0;
        yywrap();
        yytext = "";
        yyleng = 0;
        return FIN_ENTREE;
    }
    switch (classes.classe[c]) {
    case C_LETTRE:
    case C_CHIFFRE: return lire_item();
    case C_COMPARAISON: return rendre_valeur(1, OPERATEUR);
    case C_AROBASE: return lire_arobase();
    case C_INVALIDE: return rendre_jeton(1, OCTET_INVALIDE);
    default: return rendre_jeton(1, c);
    }
}

// --- statement texts, kept only while the journal is on: the text of the
// statement being read (from its keyword to the last token, blanks as read,
// each line end as a blank) and that of the one before.
struct textes_instructions {
    int64_t mots = 0; // statement keywords read from this input
    std::string courant;
    std::string precedent;
    std::string blancs; // skipped since the last token
};
textes_instructions textes_lus;

// passer_blancs, keeping what it skips.
int passer_blancs_notes() {
    for (;;) {
        int c = regarder(0);
        if (c != ' ' && c != '\t' && c != '\n') return c;
        if (c == '\n') num_ligne = static_cast<int32_t>(static_cast<uint32_t>(num_ligne) + 1u);
        textes_lus.blancs.push_back(c == '\n' ? ' ' : static_cast<char>(c));
        lec.pos++;
    }
}

bool mot_instruction(int code) {
    return code == AT_RELATION || code == AT_DATA || code == AT_LET || code == AT_PRINT;
}

int lire_jeton_note() {
    int code = lire_jeton(passer_blancs_notes());
    std::string_view texte(yytext, yyleng);
    if (mot_instruction(code)) {
        std::swap(textes_lus.courant, textes_lus.precedent);
        textes_lus.courant.assign(texte);
        textes_lus.mots++;
    } else if (code != FIN_ENTREE) {
        textes_lus.courant += textes_lus.blancs;
        textes_lus.courant += texte;
    }
    textes_lus.blancs.clear();
    return code;
}

} // namespace

int yywrap() { return 1; }

int yylex() {
    if (!lec.demarre) demarrer();
    if (journal.actif) [[unlikely]]
        return lire_jeton_note();
    return lire_jeton(passer_blancs());
}

int64_t mots_instruction_lus() { return textes_lus.mots; }

std::string texte_instruction(int64_t mot) {
    if (mot == textes_lus.mots) return textes_lus.courant;
    if (mot == textes_lus.mots - 1) return textes_lus.precedent;
    return {};
}

void yyrestart(FILE* flux) {
    if (!lec.demarre) demarrer();
    lec.flux = flux;
    lec.pos = lec.fin = 0;
    lec.epuise = false;
    textes_lus = textes_instructions{};
}

void reinitialiser_analyseur_lexical() {
    lec = lecteur{};
    textes_lus = textes_instructions{};
    num_ligne = 1;
    yylval = {};
    yyitems = fins_items{};
    yytext = "";
    yyleng = 0;
}
