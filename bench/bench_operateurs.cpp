// The binary operators and projection over the relations R, S and R2 of
// outils_bench.h, built once per benchmark. Items are the rows of R.
#include "operators/operateurs.h"
#include "outils_bench.h"

#include <benchmark/benchmark.h>

template <typename Operation> static void mesurer(benchmark::State& etat, Operation operation) {
    preparer_operandes(etat.range(0));
    size_t garder = dico->relations.size();
    for (auto _ : etat) {
        operation();
        etat.PauseTiming();
        oublier_resultats(garder);
        etat.ResumeTiming();
    }
    etat.SetItemsProcessed(etat.iterations() * etat.range(0));
    repartir_a_zero();
}

static void BM_jointure(benchmark::State& etat) {
    mesurer(etat, [] { jointure("R", "S", "J"); });
}
static void BM_difference(benchmark::State& etat) {
    mesurer(etat, [] { difference("R", "R2", "D"); });
}
static void BM_union(benchmark::State& etat) {
    mesurer(etat, [] { union_rel("R", "R2", "U"); });
}
static void BM_projection(benchmark::State& etat) {
    mesurer(etat, [] { projection("R", "P", "g,v"); });
}

BENCHMARK(BM_jointure)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_difference)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_union)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_projection)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
