// The store's large hash sets: open addressing with linear probing over
// entries that carry their own 32-bit hash (`empreinte`), an entry of zero
// bytes being empty. A lookup reads one cache line, mostly, and a growth
// reads no key again. An entry's home is given by the top bits of its spread
// hash, so that the entries lie in the order of those bits: doubling moves
// each one to about twice its place, in a single pass whose reads and
// writes both run in order.
#pragma once

#include "store/grands_blocs.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

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

// Makes the table hold `capacite` entries (a power of two, at least 16, more
// than it holds), moving them in order.
template <typename Entree> void redimensionner(table_ouverte<Entree>& table, size_t capacite) {
    auto* cases = static_cast<Entree*>(allouer_bloc(capacite * sizeof(Entree)));
    if (capacite * sizeof(Entree) < SEUIL_BLOC) std::memset(cases, 0, capacite * sizeof(Entree));
    int decalage = 64 - __builtin_ctzll(capacite);
    for (size_t i = 0; i < table.capacite; i++) {
        const Entree& entree = table.cases[i];
        if (entree.vide()) continue;
        size_t place = place_empreinte(entree.empreinte, decalage);
        while (!cases[place].vide()) place = (place + 1) & (capacite - 1);
        cases[place] = entree;
    }
    table_ouverte<Entree> nouvelle;
    nouvelle.cases = cases;
    nouvelle.capacite = capacite;
    nouvelle.nombre = table.nombre;
    nouvelle.decalage = decalage;
    table = std::move(nouvelle);
}

// Makes room for `nombre` entries in all without a growth (at most 70% full).
template <typename Entree> void reserver_table(table_ouverte<Entree>& table, size_t nombre) {
    size_t capacite = table.capacite < 16 ? 16 : table.capacite;
    while (nombre * 10 > capacite * 7) capacite *= 2;
    if (capacite != table.capacite) redimensionner(table, capacite);
}

// Starts loading the cache line of a hash's home.
template <typename Entree>
void precharger_table(const table_ouverte<Entree>& table, uint32_t empreinte) {
    if (table.capacite) __builtin_prefetch(table.cases + place_empreinte(empreinte, table.decalage));
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
const Entree* trouver_entree(const table_ouverte<Entree>& table, uint32_t empreinte,
                             Egalite egal) {
    if (table.nombre == 0) return nullptr;
    auto* entree = chercher_case(const_cast<table_ouverte<Entree>&>(table), empreinte, egal);
    return entree->vide() ? nullptr : entree;
}

// Fills the empty entry `place` found by chercher_case; the table grows when
// 70% full, so `place` is then stale.
template <typename Entree>
void ajouter_dans(table_ouverte<Entree>& table, Entree* place, const Entree& entree) {
    *place = entree;
    if (++table.nombre * 10 > table.capacite * 7) redimensionner(table, table.capacite * 2);
}

// Empties the table and gives its memory back.
template <typename Entree> void vider_table(table_ouverte<Entree>& table) {
    table = table_ouverte<Entree>{};
}
