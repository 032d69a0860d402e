// algrel-trace: runs a program as algrel does and shows every step of it as
// tables (or one JSON document), writing no file.
//
// Text forms: the steps, then the errors of the run on standard error exactly
// as algrel prints them (held back while the run goes, so that they come after
// what was made before them), then the summary of every relation, which is
// shown after an error too: what exists then is what the user wants to see.
#include "driver/execution.h"
#include "driver/journal.h"
#include "outils/commun/usage.h"
#include "outils/trace/erreurs_retenues.h"
#include "outils/trace/etapes.h"
#include "outils/trace/options.h"
#include "outils/trace/rendu.h"

#include <cstdio>

namespace {

const char* const PROGRAMME = "algrel-trace";

// Runs the files and writes the trace; answers the exit status.
int tracer(const options_trace& o, FILE* donnees, FILE* commandes) {
    if (o.format == format_sortie::json) {
        int statut = executer_journal(donnees, commandes);
        ecrire_json(stdout, regrouper_etapes(journal.instructions), journal.erreurs, statut);
        return statut;
    }
    erreurs_retenues retenues = retenir_erreurs();
    int statut = executer_journal(donnees, commandes);
    ecrire_etapes(stdout, regrouper_etapes(journal.instructions), o);
    std::fflush(stdout);
    // On a terminal the errors stand between the steps and the summary:
    // a blank line keeps them apart from it.
    if (rendre_erreurs(retenues) > 0) std::fputs("\n", stdout);
    ecrire_dictionnaire(stdout, o);
    return statut;
}

} // namespace

int main(int argc, char** argv) {
    options_trace o;
    FILE* donnees = nullptr;
    FILE* commandes = nullptr;
    try {
        o = lire_options(argc, argv);
        if (o.aide) {
            std::printf("usage : %s\n", USAGE_TRACE);
            return 0;
        }
        ouvrir_entrees(o.donnees.empty() ? nullptr : &o.donnees, o.commandes, donnees, commandes);
    } catch (const erreur_usage& e) {
        return signaler_usage(PROGRAMME, e, USAGE_TRACE);
    }
    int statut = tracer(o, donnees, commandes);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "%s : écriture impossible sur la sortie standard\n", PROGRAMME);
        if (statut == 0) statut = 1;
    }
    return statut;
}
