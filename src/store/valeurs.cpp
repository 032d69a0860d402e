#include "store/valeurs.h"

#include "driver/erreurs.h"
#include "store/grands_blocs.h"
#include "store/hachage.h"
#include "store/memoire.h"
#include "store/preparation_pages.h"
#include "store/table_ouverte.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

textes_internes textes;

namespace {

// The id of a text that is an integer of at most 9 digits without a leading
// zero, or ID_ABSENT.
id_valeur id_entier(std::string_view texte) {
    if (texte.empty() || texte.size() > 9 || (texte[0] == '0' && texte.size() > 1))
        return ID_ABSENT;
    uint32_t valeur = 0;
    for (char c : texte) {
        if (c < '0' || c > '9') return ID_ABSENT;
        valeur = valeur * 10 + static_cast<uint32_t>(c - '0');
    }
    return ID_ENTIER | valeur;
}

// A text looked up: its first 8 bytes (zero-padded), 32 bits of its hash,
// and its id when the cache of short texts already gave it (else ID_ABSENT).
struct cle_texte {
    std::string_view texte;
    uint64_t debut;
    uint32_t empreinte;
    id_valeur connu;
    bool a_retenir; // a short text to put in the cache once interned
};

// An entry of the set: an interned text's id plus one (zero marks an empty
// entry) and hash bits; a text whose hash bits match is compared with the
// stored one.
struct entree_texte {
    uint32_t id_plus_un;
    uint32_t empreinte;
    bool vide() const { return id_plus_un == 0; }
    id_valeur id() const { return id_plus_un - 1; }
};

// The memory counted for each interned text's entry.
constexpr size_t MEMOIRE_ENTREE = 32;

// Whether the text of `entree` is that of `cle`: its length, then its first
// 8 bytes as one word (the stored texts are followed by PLACE_COPIE bytes),
// then the rest.
bool est_texte(const cle_texte& cle, const entree_texte& entree) {
    const char* stocke = textes.octets + entree.id();
    size_t taille = cle.texte.size();
    if (static_cast<unsigned char>(stocke[0]) != taille) return false;
    uint64_t debut;
    std::memcpy(&debut, stocke + 1, sizeof debut);
    if (taille < 8) debut &= taille == 0 ? 0 : ~uint64_t{0} >> (64 - 8 * taille);
    return debut == cle.debut &&
           (taille <= 8 || std::memcmp(stocke + 9, cle.texte.data() + 8, taille - 8) == 0);
}

table_ouverte<entree_texte> ids;

// Makes `cle` the key of `texte` from its bytes in three words, zero past
// its end. The fields are written one by one where the key is kept: a key
// built aside and copied whole would be read back, wider, before its parts
// were written, which the processor cannot forward and so waits for.
void faire_cle(cle_texte& cle, std::string_view texte, const uint64_t (&mots)[3]) {
    uint64_t h = combiner(graine_hachage, mots[0]);
    h = combiner(h, mots[1]);
    h = melanger(combiner(h, mots[2] + texte.size()));
    cle.texte = texte;
    cle.debut = mots[0];
    cle.empreinte = static_cast<uint32_t>(h >> 32);
}

cle_texte cle_de(std::string_view texte) {
    uint64_t mots[3] = {0, 0, 0};
    if (!texte.empty()) std::memcpy(mots, texte.data(), texte.size());
    cle_texte cle;
    faire_cle(cle, texte, mots);
    cle.connu = ID_ABSENT;
    cle.a_retenir = false;
    return cle;
}

// The three words of a text followed by MARGE_LECTURE readable bytes: they
// are read whole, and the bytes past the text cleared.
void lire_mots(std::string_view texte, uint64_t (&mots)[3]) {
    std::memcpy(mots, texte.data(), sizeof mots);
    for (size_t k = 0; k < 3; k++) {
        size_t valides = texte.size() > 8 * k ? texte.size() - 8 * k : 0;
        if (valides < 8) mots[k] &= valides == 0 ? 0 : ~uint64_t{0} >> (64 - 8 * valides);
    }
}

// A cache of short texts (8 bytes at most) interned or found lately, by their
// word and length: an attribute of few values, met again and again, is mostly
// answered here, without the hash and the two reads of a lookup in the set.
// Direct-mapped: a text evicts the one at its place. It holds only ids of
// texts in the set, so its answers are those of the set.
struct memo_court {
    uint64_t mot;
    uint32_t longueur_plus_un; // zero marks an empty entry
    id_valeur id;
};
constexpr int BITS_MEMO = 13;
memo_court memo[size_t{1} << BITS_MEMO];

// The cache is used once a run has looked up SEUIL_MEMO texts: before, its
// lookups cost less than the first writes to its pages, which a short run
// would pay on every start.
constexpr int64_t SEUIL_MEMO = int64_t{1} << 18;
int64_t textes_cherches = 0;

memo_court& memo_de(uint64_t mot, size_t longueur) {
    return memo[(mot * 0x9E3779B97F4A7C15ull + longueur) >> (64 - BITS_MEMO)];
}

// The key of a text followed by MARGE_LECTURE readable bytes; when
// `par_memo`, a short text is first sought in the cache. Inlined, so that
// the key's fields stay in registers in the lookup loop.
[[gnu::always_inline]] inline void faire_cle_avec_marge(cle_texte& cle, std::string_view texte,
                                                        bool par_memo) {
    uint64_t mots[3];
    lire_mots(texte, mots);
    if (par_memo && texte.size() <= 8) {
        const memo_court& m = memo_de(mots[0], texte.size());
        if (m.mot == mots[0] && m.longueur_plus_un == texte.size() + 1) {
            cle.texte = texte;
            cle.connu = m.id;
            return;
        }
    }
    faire_cle(cle, texte, mots);
    cle.connu = ID_ABSENT;
    cle.a_retenir = par_memo && texte.size() <= 8;
}

// Puts the short text of `cle` in the cache.
void retenir(const cle_texte& cle, id_valeur id) {
    memo_de(cle.debut, cle.texte.size()) = {cle.debut, static_cast<uint32_t>(cle.texte.size() + 1),
                                            id};
}

// Asks for the pages of the texts up to AVANCE_PAGES bytes past `fin`;
// asks again once half of them are in use.
void demander_pages_textes(size_t fin) {
    size_t debut = std::max(fin, textes.octets_demandes);
    size_t jusqu_a = std::min(textes.capacite, fin + AVANCE_PAGES);
    if (debut < jusqu_a) {
        preparer_bloc_agrandi(textes.octets, debut, jusqu_a);
        textes.octets_demandes = jusqu_a;
    }
    textes.prochaine_demande = fin + AVANCE_PAGES / 2;
}

// Stores a new text and answers its id, where it starts; the memory is
// counted as it grows, with the set's entry.
id_valeur stocker(std::string_view texte) {
    size_t debut = textes.taille == 0 ? 0 : textes.taille - PLACE_COPIE;
    size_t fin = debut + 1 + texte.size();
    if (fin >= ID_ENTIER) erreur(400);
    if (fin + PLACE_COPIE > textes.capacite) {
        size_t capacite = std::max<size_t>(1 << 16, textes.capacite * 2);
        compter_memoire(capacite - textes.capacite);
        void* agrandi = agrandir_bloc(textes.octets, capacite);
        if (!agrandi) erreur(400);
        textes.octets = static_cast<char*>(agrandi);
        textes.capacite = capacite;
        // Requests that were waiting were dropped if the block moved.
        textes.octets_demandes = debut;
        textes.prochaine_demande = 0;
    }
    if (fin >= textes.prochaine_demande) demander_pages_textes(fin);
    compter_memoire(MEMOIRE_ENTREE);
    textes.octets[debut] = static_cast<char>(texte.size());
    if (!texte.empty()) std::memcpy(textes.octets + debut + 1, texte.data(), texte.size());
    // The padding that copier_texte may read past the last text.
    std::memset(textes.octets + fin, 0, PLACE_COPIE);
    textes.taille = fin + PLACE_COPIE;
    return static_cast<id_valeur>(debut);
}

id_valeur interner_cle(const cle_texte& cle) {
    if (ids.capacite == 0) reserver_table(ids, 1);
    entree_texte* place =
        chercher_case(ids, cle.empreinte, [&](const entree_texte& e) { return est_texte(cle, e); });
    if (!place->vide()) return place->id();
    id_valeur id = stocker(cle.texte);
    ajouter_dans(ids, place, entree_texte{id + 1, cle.empreinte});
    return id;
}

// From this many entries on, the set no longer stays in the processor's
// caches, and a stored text missed costs a trip to memory.
constexpr size_t GRAND_ENSEMBLE = size_t{1} << 21;

// Starts loading the stored text that a lookup of `cle` will compare first
// (the set's line is in cache by then). In a small set, that of the entry at
// its home, read without a test: a search along the probes costs more than
// the loads it saves. In a large one, that of the first entry with its hash
// bits, since the text found away from its home is then a miss in memory.
void precharger_candidat(const cle_texte& cle) {
    if (ids.capacite < GRAND_ENSEMBLE) {
        if (ids.capacite == 0) return;
        precharger(textes.octets + ids.cases[place_empreinte(cle.empreinte, ids.decalage)].id());
    } else if (const entree_texte* entree = premiere_candidate(ids, cle.empreinte)) {
        precharger(textes.octets + entree->id());
    }
}

// Looks up the texts `textes[a_chercher[j]]`, `debut <= j < fin`, into
// `resultat`, in three steps over a window of them, so that their memory
// accesses overlap: AVANCE texts ahead, a key is made and its place in the
// set loaded; AVANCE / 2 ahead, the stored text that it may equal is loaded
// (when `precharger_candidats`); then it is looked up. The window counts
// texts only, so that it reaches as far ahead whatever share of the values
// are integers. The middle step only pays when most texts are found: it is
// left out after a batch of which more than one text in eight was new.
//
// `avec_memo`: each short text is first sought in the cache of short texts,
// and put there once interned. Answers how many the cache answered.
template <bool avec_memo>
int32_t chercher_textes(const std::string_view* textes, const std::vector<int32_t>& a_chercher,
                        int32_t debut, int32_t fin, id_valeur* resultat,
                        bool precharger_candidats) {
    constexpr int32_t AVANCE = 16;
    cle_texte cles[AVANCE];
    // The key of text j in the ring; unsigned, so the place is a mask and not
    // a signed remainder, which costs a few instructions at every use.
    auto cle_de_rang = [&](int32_t j) -> cle_texte& {
        return cles[static_cast<uint32_t>(j) % AVANCE];
    };
    int32_t reponses = 0;
    auto preparer = [&](int32_t j) {
        cle_texte& cle = cle_de_rang(j);
        faire_cle_avec_marge(cle, textes[a_chercher[j]], avec_memo);
        if (avec_memo && cle.connu != ID_ABSENT) {
            reponses++;
            return;
        }
        precharger_table(ids, cle.empreinte);
    };
    for (int32_t j = debut; j < std::min(fin, debut + AVANCE); j++) preparer(j);
    for (int32_t j = debut; j < fin; j++) {
        const cle_texte& plus_loin = cle_de_rang(j + AVANCE / 2);
        if (precharger_candidats && j + AVANCE / 2 < fin &&
            (!avec_memo || plus_loin.connu == ID_ABSENT))
            precharger_candidat(plus_loin);
        cle_texte& cle = cle_de_rang(j);
        if (avec_memo && cle.connu != ID_ABSENT) {
            resultat[a_chercher[j]] = cle.connu;
        } else {
            id_valeur id = interner_cle(cle);
            if (avec_memo && cle.a_retenir) retenir(cle, id);
            resultat[a_chercher[j]] = id;
        }
        if (j + AVANCE < fin) preparer(j + AVANCE);
    }
    return reponses;
}

// Looks up the texts of one column, `a_chercher[debut..fin)`. With
// `par_memo`, the cache of short texts is tried on its first ESSAI_MEMO
// texts, and on the rest only if it answered three in four of those: a
// column of many values (a key) then neither pays for it nor fills it.
void chercher_colonne(const std::string_view* textes, const std::vector<int32_t>& a_chercher,
                      int32_t debut, int32_t fin, id_valeur* resultat, bool par_memo,
                      bool precharger_candidats) {
    constexpr int32_t ESSAI_MEMO = 32;
    if (par_memo) {
        int32_t essai = std::min(fin, debut + ESSAI_MEMO);
        int32_t reponses =
            chercher_textes<true>(textes, a_chercher, debut, essai, resultat, precharger_candidats);
        par_memo = 4 * reponses >= 3 * (essai - debut);
        debut = essai;
    }
    if (par_memo)
        chercher_textes<true>(textes, a_chercher, debut, fin, resultat, precharger_candidats);
    else
        chercher_textes<false>(textes, a_chercher, debut, fin, resultat, precharger_candidats);
}

} // namespace

id_valeur interner_valeur(std::string_view texte) {
    if (texte.size() > MAX_TEXTE_INTERNE) erreur(209);
    id_valeur entier = id_entier(texte);
    return entier != ID_ABSENT ? entier : interner_cle(cle_de(texte));
}

void interner_valeurs(const std::string_view* textes, int32_t nombre, id_valeur* resultat,
                      int32_t par_ligne) {
    // Integers are their own ids; the other texts are looked up column by
    // column (chercher_textes): an attribute whose texts are mostly new (a
    // key) then has the whole window of lookups ahead of it, instead of
    // sharing it with the attributes of few values, found at once. Within a
    // column, new texts still get increasing ids in row order. A short run
    // does not use the cache of short texts (SEUIL_MEMO).
    static bool precharger_candidats = true;
    static std::vector<int32_t> a_chercher;
    static std::vector<int32_t> debuts_colonnes;
    a_chercher.clear();
    debuts_colonnes.clear();
    for (int32_t colonne = 0; colonne < par_ligne; colonne++) {
        debuts_colonnes.push_back(static_cast<int32_t>(a_chercher.size()));
        for (int32_t i = colonne; i < nombre; i += par_ligne) {
            if (textes[i].size() > MAX_TEXTE_INTERNE) erreur(209);
            resultat[i] = id_entier(textes[i]);
            if (resultat[i] == ID_ABSENT) a_chercher.push_back(i);
        }
    }
    int32_t n = static_cast<int32_t>(a_chercher.size());
    debuts_colonnes.push_back(n);
    size_t connus = ids.nombre;
    bool par_memo = textes_cherches >= SEUIL_MEMO;
    for (int32_t colonne = 0; colonne < par_ligne; colonne++)
        chercher_colonne(textes, a_chercher, debuts_colonnes[colonne], debuts_colonnes[colonne + 1],
                         resultat, par_memo, precharger_candidats);
    textes_cherches += n;
    precharger_candidats = (ids.nombre - connus) * 8 <= static_cast<size_t>(n);
}

id_valeur chercher_valeur(std::string_view texte) {
    if (texte.size() > MAX_TEXTE_INTERNE) return ID_ABSENT;
    id_valeur entier = id_entier(texte);
    if (entier != ID_ABSENT) return entier;
    cle_texte cle = cle_de(texte);
    auto* trouve = trouver_entree(ids, cle.empreinte,
                                  [&](const entree_texte& e) { return est_texte(cle, e); });
    return trouve ? trouve->id() : ID_ABSENT;
}

void reinitialiser_valeurs() {
    liberer_bloc_agrandi(textes.octets);
    textes.octets = nullptr;
    textes.taille = textes.capacite = 0;
    textes.octets_demandes = textes.prochaine_demande = 0;
    // The cache is written only once in use: before, its pages are left
    // untouched, as a short run ends.
    if (textes_cherches >= SEUIL_MEMO) std::fill(std::begin(memo), std::end(memo), memo_court{});
    textes_cherches = 0;
    vider_table(ids);
}
