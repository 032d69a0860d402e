// The run sequence: banner, command line, dictionary, files, one parse per
// input file, closing, summary.
#include "driver/execution.h"

#include "driver/erreurs.h"
#include "driver/journal.h"
#include "language/analyseur_lexical.h"
#include "language/analyseur_syntaxique.h"
#include "store/flux.h"
#include "store/hachage.h"
#include "store/memoire.h"
#include "store/relation.h"

#include <sys/stat.h>

#include <cstdio>
#include <new>
#include <string_view>

namespace {

const char* const BANNIERE = "\nVORN - Version Sep 2004 - http://algrel.example.org/\n";

const char* const AIDE = "Utilisation : algrel [donnees.vorn] commandes.vorn sortie.vorn\n"
                         "              algrel --help | --version\n"
                         "\n"
                         "Lit le fichier de donnees s'il est donne, puis le fichier de commandes,\n"
                         "ecrit dans le fichier de sortie les relations que demande @print et\n"
                         "affiche le dictionnaire des relations sur la sortie standard.\n"
                         "\n"
                         "  --help     affiche cette aide\n"
                         "  --version  affiche la version\n"
                         "\n"
                         "Le langage, les messages et les codes de retour : man algrel\n";

struct identite_fichier {
    bool existe = false;
    dev_t peripherique = 0;
    ino_t inode = 0;
};

identite_fichier identifier(const char* chemin) {
    struct stat infos;
    if (stat(chemin, &infos) != 0) return {};
    return {true, infos.st_dev, infos.st_ino};
}

bool meme_fichier(const identite_fichier& a, const identite_fichier& b) {
    return a.existe && b.existe && a.peripherique == b.peripherique && a.inode == b.inode;
}

// Opens an input file; a directory cannot be read as one.
FILE* ouvrir_entree(const char* chemin) {
    FILE* flux = std::fopen(chemin, "r");
    if (!flux) erreur(301);
    struct stat infos;
    if (fstat(fileno(flux), &infos) != 0 || S_ISDIR(infos.st_mode)) {
        std::fclose(flux);
        erreur(301);
    }
    return flux;
}

// Opens the output file, refusing a path that names one of the input files,
// however spelled, before anything is truncated.
FILE* ouvrir_sortie(const char* chemin, const char* donnees, const char* commandes) {
    identite_fichier sortie = identifier(chemin);
    if (meme_fichier(sortie, identifier(donnees)) || meme_fichier(sortie, identifier(commandes)))
        erreur(302);
    FILE* flux = std::fopen(chemin, "w");
    if (!flux) erreur(302);
    // The listings come through a buffer of our own: write it straight out.
    std::setvbuf(flux, nullptr, _IONBF, 0);
    return flux;
}

// The command file, after the data file. A command file that did not exist
// when the run started may since be the output file itself: it is refused.
FILE* ouvrir_commandes(const char* chemin) {
    FILE* flux = ouvrir_entree(chemin);
    struct stat lu, ecrit;
    if (fstat(fileno(flux), &lu) == 0 && fstat(fileno(yyout), &ecrit) == 0 &&
        lu.st_dev == ecrit.st_dev && lu.st_ino == ecrit.st_ino) {
        std::fclose(flux);
        erreur(301);
    }
    return flux;
}

void analyser(FILE* flux) {
    yyin = flux;
    yyrestart(flux);
    yyparse();
}

// Prints `texte` alone on standard output: 0, or 1 when it was refused.
int afficher_seul(const char* texte) {
    std::fputs(texte, stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

// --help and --version, exactly so and alone, are the only arguments that
// are not file names: answers the exit status, or -1 for a run.
int traiter_option(int argc, const char* const* argv) {
    if (argc != 2) return -1;
    std::string_view argument = argv[1];
    if (argument == "--help") return afficher_seul(AIDE);
    if (argument == "--version") return afficher_seul("algrel " ALGREL_VERSION "\n");
    return -1;
}

int derouler(int argc, const char* const* argv) {
    if (int statut = traiter_option(argc, argv); statut >= 0) return statut;
    std::fputs(BANNIERE, stdout);
    std::fflush(stdout);
    if (argc < 3 || argc > 4) erreur(300);
    initialiser_dico();
    bool avec_donnees = argc == 4;
    const char* premier = argv[1];
    const char* commandes = avec_donnees ? argv[2] : argv[1];
    const char* sortie = argv[argc - 1];

    yyin = ouvrir_entree(premier);
    yyout = ouvrir_sortie(sortie, premier, commandes);
    analyser(yyin);
    if (avec_donnees) {
        std::fclose(yyin);
        yyin = nullptr;
        analyser(ouvrir_commandes(commandes));
    }
    if (!fermer_flux()) erreur(CODE_ECRITURE_SORTIE);
    afficher_dico();
    // A banner or summary that standard output refused is a failed run too.
    bool resume_ecrit = std::fflush(stdout) == 0 && !std::ferror(stdout);
    return erreur_syntaxe_signalee || !resume_ecrit ? 1 : 0;
}

// One file of a run with the journal on, noted as file `numero`.
void analyser_note(FILE* flux, int numero) {
    journal.fichier = numero;
    analyser(flux);
    noter_fin_fichier();
}

int derouler_journal(FILE* donnees, FILE*& commandes) {
    initialiser_dico();
    if (donnees) {
        yyin = donnees;
        analyser_note(donnees, 0);
        std::fclose(yyin);
        yyin = nullptr;
    }
    FILE* flux = commandes;
    commandes = nullptr; // the run owns it from here
    yyin = flux;
    analyser_note(flux, donnees ? 1 : 0);
    fermer_flux();
    return erreur_syntaxe_signalee ? 1 : 0;
}

} // namespace

void reinitialiser_interpreteur() {
    reinitialiser_journal();
    fermer_flux();
    oublier_lignes_en_attente();
    dico.reset();
    reinitialiser_valeurs();
    tirer_graine_hachage();
    reinitialiser_analyseur_lexical();
    remettre_compteur_memoire();
    flag_prod_cart = 0;
    erreur_syntaxe_signalee = false;
}

int executer_algrel(int argc, const char* const* argv) {
    reinitialiser_interpreteur();
    try {
        return derouler(argc, argv);
    } catch (const fin_execution& fin) {
        // What the output file received is kept, whatever ended the run.
        if (!fermer_flux()) afficher_message_erreur(CODE_ECRITURE_SORTIE);
        return fin.statut;
    } catch (const std::bad_alloc&) {
        afficher_message_erreur(400);
        liberer_memoire();
        return 1;
    }
}

int executer_journal(FILE* donnees, FILE* commandes) {
    reinitialiser_interpreteur();
    journal.actif = true;
    int statut = 1;
    try {
        statut = derouler_journal(donnees, commandes);
    } catch (const fin_execution& fin) {
        statut = fin.statut;
    } catch (const std::bad_alloc&) {
        afficher_message_erreur(400);
        noter_erreur(400, "[400] memoire insuffisante");
    }
    fermer_flux();
    if (commandes) std::fclose(commandes); // the run ended before reaching it
    return statut;
}
