// The store: rows inserted as list texts, as the data statements hand them
// over, a large relation's waiting rows settled, and a relation listed to
// the output file.
#include "outils_bench.h"
#include "store/flux.h"
#include "store/lignes_douteuses.h"
#include "store/partitions_lignes.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

// Distinct 4-value rows: a key of its own, then values drawn from small
// ranges, so that most values are already interned.
static std::vector<std::string> lignes_distinctes(long long n) {
    alea hasard;
    std::vector<std::string> lignes;
    lignes.reserve(static_cast<size_t>(n));
    for (long long i = 0; i < n; i++)
        lignes.push_back(
            texte("k%lld,a%u,b%u,%u", i, hasard.borne(1000), hasard.borne(100), hasard.borne(10)));
    return lignes;
}

static void BM_insertion(benchmark::State& etat) {
    std::vector<std::string> lignes = lignes_distinctes(etat.range(0));
    for (auto _ : etat) {
        etat.PauseTiming();
        repartir_a_zero();
        creer_relation("T", "k,a,b,c");
        etat.ResumeTiming();
        for (const std::string& ligne : lignes) ajouter_tuple("T", ligne);
        // Reading the relation stores and settles the rows still waiting.
        benchmark::DoNotOptimize(relation_existe("T"));
    }
    etat.SetItemsProcessed(etat.iterations() * etat.range(0));
}
BENCHMARK(BM_insertion)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

static void BM_affichage(benchmark::State& etat) {
    preparer_operandes(etat.range(0));
    yyout = std::fopen("/dev/null", "w");
    for (auto _ : etat) afficher_relation("R");
    etat.SetItemsProcessed(etat.iterations() * etat.range(0));
    repartir_a_zero();
}
BENCHMARK(BM_affichage)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The settle of a large relation whose rows all waited: n rows of 4 ids,
// each holding a new key but for the given percentage of them, which repeat
// an earlier row. Settled through its doubtful rows (method 0), as a read
// does, or by partitions of all its rows (method 1), as it is when they are
// too many.
static void BM_reglement(benchmark::State& etat) {
    int64_t n = etat.range(0);
    unsigned repetees = static_cast<unsigned>(etat.range(1));
    bool par_partitions = etat.range(2) == 1;
    for (auto _ : etat) {
        etat.PauseTiming();
        repartir_a_zero();
        relation& rel = *creer_relation("T", "k,a,b,c");
        alea hasard;
        for (int64_t i = 0; i < n; i++) {
            id_valeur ligne[4] = {ID_ENTIER | static_cast<id_valeur>(i),
                                  ID_ENTIER | hasard.borne(1000), ID_ENTIER | hasard.borne(100),
                                  ID_ENTIER | hasard.borne(25)};
            if (i > 0 && hasard.borne(100) < repetees)
                std::copy_n(valeurs_slot(rel, 1 + hasard.borne(static_cast<uint64_t>(i))), 4,
                            ligne);
            ajouter_ligne(rel, ligne);
        }
        etat.ResumeTiming();
        benchmark::DoNotOptimize(par_partitions ? retirer_repetitions_par_partitions(rel, 1)
                                                : retirer_repetitions_douteuses(rel, 1));
    }
    etat.SetItemsProcessed(etat.iterations() * n);
}
BENCHMARK(BM_reglement)
    ->ArgsProduct({{1000000, 10000000}, {5, 9}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
