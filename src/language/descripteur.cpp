#include "language/descripteur.h"

#include "driver/journal.h"
#include "operators/operateurs.h"
#include "store/relation.h"

std::string nom_temporaire(int32_t nb_relations) {
    char suffixe = static_cast<char>((static_cast<uint32_t>(nb_relations) + 64u) & 0xFFu);
    std::string nom = "#";
    if (suffixe != '\0') nom += suffixe;
    return nom;
}

std::unique_ptr<descripteur> garnir_struct(int32_t type_op, const std::string& source,
                                           const std::string& param1, const std::string& param2,
                                           const std::string& param3) {
    auto d = std::make_unique<descripteur>();
    d->nom_operande = nom_temporaire(dico->nb_relations);
    d->type_op = type_op;
    if (type_op == OP_NOM) d->nom_operande = source;
    d->source = source;
    d->param1 = param1;
    d->param2 = param2;
    d->param3 = param3;
    return d;
}

// The comparison reaches the selections as the first character of its text.
static char comparaison(const descripteur& d) { return d.param2.empty() ? '\0' : d.param2[0]; }

// Calls the operator of `d`'s type.
static void evaluer(const std::string& nom_resultat, const descripteur& d) {
    switch (d.type_op) {
    case OP_SELECTION: selection(d.source, nom_resultat, d.param1, comparaison(d), d.param3); break;
    case OP_PROJECTION: projection(d.source, nom_resultat, d.param1); break;
    case OP_JOINTURE: jointure(d.source, d.param1, nom_resultat); break;
    case OP_RENOMMAGE: renommer(d.source, nom_resultat, d.param1, d.param2); break;
    case OP_UNION: union_rel(d.source, d.param1, nom_resultat); break;
    case OP_DIFFERENCE: difference(d.source, d.param1, nom_resultat); break;
    case OP_SELECTION_ATTRIBUT:
        selection_attribut(d.source, nom_resultat, d.param1, comparaison(d), d.param3);
        break;
    default: break;
    }
}

void executer_operation(const std::string& nom_resultat, const descripteur& d) {
    int32_t avant = dico->nb_relations;
    evaluer(nom_resultat, d);
    if (journal.actif) noter_operation(nom_resultat, d, avant);
}
