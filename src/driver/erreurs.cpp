#include "driver/erreurs.h"

#include "driver/journal.h"

#include "language/analyseur_lexical.h"
#include "store/flux.h"
#include "store/relation.h"

#include <cstdio>
#include <string>

bool erreur_syntaxe_signalee = false;

namespace {

// The message of each code, after the "ERREUR ligne %d : " prefix.
const char* message_du_code(int code) {
    switch (code) {
    case 200: return "[%d] la relation existe deja\n";
    case 201: return "[%d] schema non correspondant\n";
    case 202: return "[%d] nbre colonnes depasse valeur par defaut\n";
    case 203: return "[%d] la relation n'existe pas\n";
    case 204: return "[%d] champ inexistant\n";
    case 205: return "[%d] nombre de champs ou de valeurs nul\n";
    case 206: return "[%d] un attribut de meme nom existe deja\n";
    case 207: return "[%d] le tuple recherche n'existe pas\n";
    case 208: return "[%d] deux attributs de la relation portent le meme nom\n";
    case 209: return "[%d] depassgement de capacite : nom ou liste trop long\n";
    case 300:
        return "\n[%d] syntaxe algrel [filename_data.vorn] filename_input.vorn "
               "filename_output.vorn\n";
    case 301: return "\n[%d] impossible d'ouvrir le fichier d'entree\n";
    case 302: return "\n[%d] impossible d'ouvrir le fichier de sortie\n";
    case 303: return "\n[%d] seul le controle de l'egalite est implemente dans cette version\n";
    case 304: return "\n[%d] erreur d'ecriture dans le fichier de sortie\n";
    default: return "\n[%d] memoire insuffisante\n";
    }
}

} // namespace

void afficher_message_erreur(int code) {
    std::fprintf(stderr, "ERREUR ligne %d : ", num_ligne);
    std::fprintf(stderr, message_du_code(code), code);
}

// The message of `code` as the journal keeps it: no line ends.
static std::string message_note(int code) {
    char texte[128];
    std::snprintf(texte, sizeof texte, message_du_code(code), code);
    std::string message(texte);
    std::erase(message, '\n');
    return message;
}

void erreur(int code) {
    if (journal.silencieux) throw fin_execution{1};
    afficher_message_erreur(code);
    if (journal.actif) noter_erreur(code, message_note(code));
    if (code < 300 || code > 302) liberer_memoire();
    throw fin_execution{1};
}

void yyerror(const char* message) {
    erreur_syntaxe_signalee = true;
    std::fprintf(stderr, "\nERREUR ligne %d : erreur de syntaxe (%s)\n", num_ligne, message);
    if (journal.actif) noter_erreur(0, message);
}

void echec_analyseur(const char* message) {
    std::fprintf(stderr, "%s\n", message);
    if (journal.actif) noter_erreur(0, message);
    fermer_flux();
    throw fin_execution{2};
}
