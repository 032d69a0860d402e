// The scanner alone: the tokens of a data file of the ingest shape, read from
// memory, so that the cost of cutting the input is seen apart from the store.
#include "alea.h"
#include "language/analyseur_lexical.h"
#include "language/jetons.h"
#include "outils_bench.h"
#include "store/flux.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

static void BM_lexique(benchmark::State& etat) {
    alea hasard;
    std::string fichier = "@relation T: k,a,b,c\n";
    for (long long i = 0; i < etat.range(0); i++)
        fichier += texte("@data T: k%lld,a%u,b%u,c%u\n", i, hasard.borne(1000), hasard.borne(100),
                         hasard.borne(25));
    long long jetons = 0;
    for (auto _ : etat) {
        etat.PauseTiming();
        repartir_a_zero();
        FILE* flux = fmemopen(fichier.data(), fichier.size(), "r");
        yyrestart(flux);
        etat.ResumeTiming();
        while (yylex() != FIN_ENTREE) jetons++;
        std::fclose(flux);
    }
    benchmark::DoNotOptimize(jetons);
    etat.SetBytesProcessed(etat.iterations() * static_cast<long long>(fichier.size()));
}
BENCHMARK(BM_lexique)->Arg(1000000)->Unit(benchmark::kMillisecond);
