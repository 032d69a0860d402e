// The store: rows inserted as list texts, as the data statements hand them
// over, and a relation listed to the output file.
#include "outils_bench.h"
#include "store/flux.h"

#include <benchmark/benchmark.h>

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
