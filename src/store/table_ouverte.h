// The store's large hash sets: open addressing with linear probing over
// entries that carry their own 32-bit hash (`empreinte`), an entry of zero
// bytes being empty. A lookup reads one cache line, mostly, and a growth
// reads no key again. An entry's home is given by the top bits of its spread
// hash, so that the entries lie in the order of those bits: doubling moves
// each one to about twice its place, in a single pass whose reads and
// writes both run in order, and happens in place.
#pragma once

#include "store/grands_blocs.h"
#include "store/preparation_pages.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

template <typename Entree> struct table_ouverte {
    Entree* cases = nullptr;
    size_t capacite = 0; // a power of two, or 0 before the first entry
    size_t nombre = 0;   // entries held
    int decalage = 64;   // 64 - log2(capacite)

    table_ouverte() = default;
    table_ouverte(const table_ouverte&) = delete;
    table_ouverte& operator=(const table_ouverte&) = delete;
    table_ouverte(table_ouverte&& autre) noexcept { *this = std::move(autre); }
    table_ouverte& operator=(table_ouverte&& autre) noexcept {
        std::swap(cases, autre.cases);
        std::swap(capacite, autre.capacite);
        std::swap(nombre, autre.nombre);
        std::swap(decalage, autre.decalage);
        return *this;
    }
    ~table_ouverte() {
        if (cases) liberer_bloc(cases, capacite * sizeof(Entree));
    }
};

// The home of a hash in a table of 2^(64 - decalage) entries (decalage < 64).
inline size_t place_empreinte(uint32_t empreinte, int decalage) {
    return static_cast<size_t>((uint64_t{empreinte} * 0x9E3779B97F4A7C15ull) >> decalage);
}

// Doubles the table where it lies: its block is remapped (its pages kept,
// the new half zero), then each entry moved from its place i to its new home
// near 2i, from the last place down, so that a move only ever lands on
// places already emptied or filled anew. The few entries for which that
// cannot hold (those whose probes wrapped past the end, or ran far from
// their homes near the start) are put back last, as by any insertion. The
// moves fill the new half from its end: the helper maps its pages from its
// start meanwhile (preparation_pages.h), when the block is mapped on its own.
template <typename Entree> void doubler(table_ouverte<Entree>& table) {
    size_t ancienne = table.capacite, capacite = 2 * ancienne;
    auto* cases = static_cast<Entree*>(
        agrandir_bloc_zero(table.cases, ancienne * sizeof(Entree), capacite * sizeof(Entree)));
    if (capacite * sizeof(Entree) >= SEUIL_BLOC) preparer_pages(cases + ancienne, cases + capacite);
    table.cases = cases;
    table.capacite = capacite;
    int ancien_decalage = table.decalage--;
    std::vector<Entree> reportees;
    for (size_t i = 0; i < ancienne && !cases[i].vide(); i++) {
        if (place_empreinte(cases[i].empreinte, ancien_decalage) > i) {
            reportees.push_back(cases[i]);
            cases[i] = Entree{};
        }
    }
    for (size_t i = ancienne; i-- > 0;) {
        Entree entree = cases[i];
        if (entree.vide()) continue;
        cases[i] = Entree{};
        size_t place = place_empreinte(entree.empreinte, table.decalage);
        if (place >= i)
            while (place < capacite && !cases[place].vide()) place++;
        if (place < i || place == capacite)
            reportees.push_back(entree);
        else
            cases[place] = entree;
    }
    for (const Entree& entree : reportees) {
        size_t place = place_empreinte(entree.empreinte, table.decalage);
        while (!cases[place].vide()) place = (place + 1) & (capacite - 1);
        cases[place] = entree;
    }
}

// The capacity that an empty table is given for `nombre` entries (at most
// 70% full).
inline size_t capacite_pour(size_t nombre) {
    size_t capacite = 16;
    while (nombre * 10 > capacite * 7) capacite *= 2;
    return capacite;
}

// Makes room for `nombre` entries in all without a growth (at most 70% full).
template <typename Entree> void reserver_table(table_ouverte<Entree>& table, size_t nombre) {
    if (table.nombre == 0) {
        size_t capacite = capacite_pour(nombre);
        if (capacite <= table.capacite) return;
        table = table_ouverte<Entree>{};
        table.cases = static_cast<Entree*>(allouer_bloc(capacite * sizeof(Entree)));
        table.capacite = capacite;
        table.decalage = 64 - __builtin_ctzll(capacite);
        return;
    }
    while (nombre * 10 > table.capacite * 7) doubler(table);
}

// Starts loading the line at `adresse`. The empty statement that reads it
// keeps the compiler from dropping the prefetch together with the search
// that found its address, as neither changes anything it can see.
inline void precharger(const void* adresse) {
    __builtin_prefetch(adresse);
    asm volatile("" : : "r"(adresse));
}

// Starts loading the cache line of a hash's home.
template <typename Entree>
void precharger_table(const table_ouverte<Entree>& table, uint32_t empreinte) {
    if (table.capacite) precharger(table.cases + place_empreinte(empreinte, table.decalage));
}

// The first entry of hash `empreinte` from its home, the one a lookup will
// compare first, or null; for starting to load what that entry points to.
template <typename Entree>
const Entree* premiere_candidate(const table_ouverte<Entree>& table, uint32_t empreinte) {
    if (table.nombre == 0) return nullptr;
    size_t masque = table.capacite - 1;
    for (size_t place = place_empreinte(empreinte, table.decalage);; place = (place + 1) & masque) {
        const Entree* entree = table.cases + place;
        if (entree->vide()) return nullptr;
        if (entree->empreinte == empreinte) return entree;
    }
}

// The entry of hash `empreinte` for which `egal(entree)` holds, or else the
// empty entry where it goes (which ajouter_dans fills). The table has room
// (reserver_table).
template <typename Entree, typename Egalite>
Entree* chercher_case(table_ouverte<Entree>& table, uint32_t empreinte, Egalite egal) {
    size_t masque = table.capacite - 1;
    for (size_t place = place_empreinte(empreinte, table.decalage);; place = (place + 1) & masque) {
        Entree* entree = table.cases + place;
        if (entree->vide() || (entree->empreinte == empreinte && egal(*entree))) return entree;
    }
}

// The same, when the table may be empty: null when nothing matches.
template <typename Entree, typename Egalite>
const Entree* trouver_entree(const table_ouverte<Entree>& table, uint32_t empreinte, Egalite egal) {
    if (table.nombre == 0) return nullptr;
    auto* entree = chercher_case(const_cast<table_ouverte<Entree>&>(table), empreinte, egal);
    return entree->vide() ? nullptr : entree;
}

// Fills the empty entry `place` found by chercher_case; the table grows when
// 70% full, so `place` is then stale.
template <typename Entree>
void ajouter_dans(table_ouverte<Entree>& table, Entree* place, const Entree& entree) {
    *place = entree;
    if (++table.nombre * 10 > table.capacite * 7) doubler(table);
}

// Empties the table and gives its memory back.
template <typename Entree> void vider_table(table_ouverte<Entree>& table) {
    table = table_ouverte<Entree>{};
}
