// A hand-written LR(1) parser for the language's grammar (below). Its stack
// holds one state per grammar symbol recognised so far, as an LALR(1) parser
// would, and it reads a token only in the states where the next move depends
// on it: the moment an action runs, and so the line an error reports, is
// fixed by that. It never recurses, however deep the parentheses.
//
//  1 programme ::= instruction            15-19 operation ::= op_projection | ...
//  2 programme ::= programme instruction  20 op_selection ::= operande WHERE IDENT OPERATEUR IDENT
//  3-6 instruction ::= creation | insertion | affectation | affichage
//  7 creation ::= AT_RELATION IDENT ':' elements
//  8 insertion ::= AT_DATA IDENT ':' elements
//  9 affectation ::= AT_LET IDENT ':' operation
// 10 affichage ::= AT_PRINT IDENT ':'
// 11 operande ::= IDENT                   21 op_selection ::= operande WHERE IDENT OPERATEUR
// 12 operande ::= operation                                   '"' IDENT '"'
// 13 operande ::= '(' operande ')'        22 op_projection ::= operande PROJECT elements
// 14 operation ::= op_selection           23 op_jointure ::= operande JOIN operande
// 24 op_renommage ::= operande RENAME IDENT AS IDENT
// 25 op_union ::= operande UNION operande
// 26 op_difference ::= operande MINUS operande
// 27 elements ::= IDENT
// 28 elements ::= LISTE
//
// The six operators share one precedence and group to the left: after
// "operande JOIN operande" the parser reduces whatever follows, so the right
// operand of JOIN, UNION and MINUS is a name or a parenthesised expression.
//
// Rules 7, 8 and 10 are read straight through by lire_instruction: an LR
// parser's moves for them are fixed (shift each token, reduce as soon as the
// last one is read, the stack never deeper than six entries), so reading them
// directly reads the same tokens, runs the action at the same moment and
// refuses a wrong token at the same place, at a fraction of the cost: data
// files are mostly such statements.
#include "language/analyseur_syntaxique.h"

#include "driver/erreurs.h"
#include "driver/journal.h"
#include "language/actions.h"
#include "language/analyseur_lexical.h"
#include "language/jetons.h"
#include "store/relation.h"

#include <string>
#include <vector>

namespace {

enum etat : unsigned char {
    E_DEBUT,             // • programme
    E_PROGRAMME,         // programme • instruction | programme • end
    E_INSTRUCTION,       // programme ::= instruction •
    E_INSTRUCTION_SUITE, // programme ::= programme instruction •
    E_INSTRUCTION_FAITE, // instruction ::= affectation •
    E_LET_MOT,           // AT_LET • IDENT ':' operation
    E_LET_NOM,           // AT_LET IDENT • ':' operation
    E_LET_DEUX_POINTS,   // AT_LET IDENT ':' • operation
    E_LET_OPERATION,     // AT_LET IDENT ':' operation • | operande ::= operation •
    E_OPERANDE_HAUT,     // AT_LET IDENT ':' operande • operator ...
    E_OPERANDE_IDENT,    // operande ::= IDENT •
    E_OPERATION,         // operande ::= operation •
    E_OP_FAITE,          // operation ::= op_selection • (and the five others)
    E_PAR_OUVRANTE,      // '(' • operande ')'
    E_PAR_OPERANDE,      // '(' operande • ')' | operande • operator ...
    E_PAR_FERMANTE,      // '(' operande ')' •
    E_WHERE,             // operande WHERE • IDENT OPERATEUR ...
    E_WHERE_ATTRIBUT,    // operande WHERE IDENT • OPERATEUR ...
    E_WHERE_OPERATEUR,   // operande WHERE IDENT OPERATEUR • (IDENT | '"' IDENT '"')
    E_WHERE_ATTRIBUT2,   // ... OPERATEUR IDENT •
    E_WHERE_GUILLEMET,   // ... OPERATEUR '"' • IDENT '"'
    E_WHERE_CONSTANTE,   // ... OPERATEUR '"' IDENT • '"'
    E_WHERE_FIN,         // ... OPERATEUR '"' IDENT '"' •
    E_PROJECT,           // operande PROJECT • elements
    E_PROJECT_ELEMENTS,  // operande PROJECT elements •
    E_RENAME,            // operande RENAME • IDENT AS IDENT
    E_RENAME_ANCIEN,     // operande RENAME IDENT • AS IDENT
    E_RENAME_AS,         // operande RENAME IDENT AS • IDENT
    E_RENAME_NOUVEAU,    // operande RENAME IDENT AS IDENT •
    E_JOIN,              // operande JOIN • operande
    E_JOIN_DROIT,        // operande JOIN operande •
    E_UNION,
    E_UNION_DROIT,
    E_MINUS,
    E_MINUS_DROIT,
    E_ELEMENTS_IDENT, // elements ::= IDENT •
    E_ELEMENTS_LISTE, // elements ::= LISTE •
};

enum non_terminal {
    NT_PROGRAMME,
    NT_INSTRUCTION,
    NT_INSTRUCTION_FORME,
    NT_ELEMENTS,
    NT_OPERANDE,
    NT_OPERATION,
    NT_OP_FORME
};

struct regle {
    int longueur;
    non_terminal gauche;
};

// Length and left-hand side of each rule, by number.
constexpr regle regles[] = {
    {0, NT_PROGRAMME},         {1, NT_PROGRAMME},         {2, NT_PROGRAMME},
    {1, NT_INSTRUCTION},       {1, NT_INSTRUCTION},       {1, NT_INSTRUCTION},
    {1, NT_INSTRUCTION},       {4, NT_INSTRUCTION_FORME}, {4, NT_INSTRUCTION_FORME},
    {4, NT_INSTRUCTION_FORME}, {3, NT_INSTRUCTION_FORME}, {1, NT_OPERANDE},
    {1, NT_OPERANDE},          {3, NT_OPERANDE},          {1, NT_OPERATION},
    {1, NT_OPERATION},         {1, NT_OPERATION},         {1, NT_OPERATION},
    {1, NT_OPERATION},         {1, NT_OPERATION},         {5, NT_OP_FORME},
    {7, NT_OP_FORME},          {3, NT_OP_FORME},          {3, NT_OP_FORME},
    {5, NT_OP_FORME},          {3, NT_OP_FORME},          {3, NT_OP_FORME},
    {1, NT_ELEMENTS},          {1, NT_ELEMENTS},
};

static_assert(sizeof regles / sizeof regles[0] == 29, "one entry per rule, from 0 to 28");

constexpr int JETON_VIDE = -1;

// The rule reduced in `e` without reading a token, or 0 when `e` needs one.
int reduction_immediate(etat e) {
    switch (e) {
    case E_INSTRUCTION: return 1;
    case E_INSTRUCTION_SUITE: return 2;
    case E_INSTRUCTION_FAITE: return 5;
    case E_OPERANDE_IDENT: return 11;
    case E_OPERATION: return 12;
    case E_PAR_FERMANTE: return 13;
    case E_OP_FAITE: return 14;
    case E_WHERE_ATTRIBUT2: return 20;
    case E_WHERE_FIN: return 21;
    case E_PROJECT_ELEMENTS: return 22;
    case E_JOIN_DROIT: return 23;
    case E_RENAME_NOUVEAU: return 24;
    case E_UNION_DROIT: return 25;
    case E_MINUS_DROIT: return 26;
    case E_ELEMENTS_IDENT: return 27;
    case E_ELEMENTS_LISTE: return 28;
    default: return 0;
    }
}

// What to do in `e` with the token `j` read ahead.
struct decision {
    enum { DEPLACER, REDUIRE, ACCEPTER, ERREUR } sorte;
    int valeur; // the state to push, or the rule to reduce
};

constexpr decision erreur_syntaxe{decision::ERREUR, 0};
constexpr decision deplacer(etat e) { return {decision::DEPLACER, e}; }

decision apres_instruction(int j) { return j == AT_LET ? deplacer(E_LET_MOT) : erreur_syntaxe; }

decision debut_operande(int j) {
    if (j == IDENT) return deplacer(E_OPERANDE_IDENT);
    if (j == '(') return deplacer(E_PAR_OUVRANTE);
    return erreur_syntaxe;
}

decision apres_operande(int j) {
    switch (j) {
    case WHERE: return deplacer(E_WHERE);
    case PROJECT: return deplacer(E_PROJECT);
    case JOIN: return deplacer(E_JOIN);
    case UNION: return deplacer(E_UNION);
    case MINUS: return deplacer(E_MINUS);
    case RENAME: return deplacer(E_RENAME);
    default: return erreur_syntaxe;
    }
}

decision elements(int j) {
    if (j == IDENT) return deplacer(E_ELEMENTS_IDENT);
    if (j == LISTE) return deplacer(E_ELEMENTS_LISTE);
    return erreur_syntaxe;
}

decision attendre(int j, int attendu, etat suivant) {
    return j == attendu ? deplacer(suivant) : erreur_syntaxe;
}

bool commence_instruction(int j) {
    return j == AT_RELATION || j == AT_DATA || j == AT_LET || j == AT_PRINT;
}

decision decider(etat e, int j) {
    switch (e) {
    case E_DEBUT: return apres_instruction(j);
    case E_PROGRAMME:
        return j == FIN_ENTREE ? decision{decision::ACCEPTER, 0} : apres_instruction(j);
    case E_LET_MOT: return attendre(j, IDENT, E_LET_NOM);
    case E_LET_NOM: return attendre(j, ':', E_LET_DEUX_POINTS);
    case E_PROJECT: return elements(j);
    case E_LET_DEUX_POINTS:
    case E_PAR_OUVRANTE:
    case E_JOIN:
    case E_UNION:
    case E_MINUS: return debut_operande(j);
    case E_LET_OPERATION:
        // The statement's result only before a statement keyword or the end;
        // anything else makes the operation an operand first.
        return {decision::REDUIRE, commence_instruction(j) || j == FIN_ENTREE ? 9 : 12};
    case E_OPERANDE_HAUT: return apres_operande(j);
    case E_PAR_OPERANDE: return j == ')' ? deplacer(E_PAR_FERMANTE) : apres_operande(j);
    case E_WHERE: return attendre(j, IDENT, E_WHERE_ATTRIBUT);
    case E_WHERE_ATTRIBUT: return attendre(j, OPERATEUR, E_WHERE_OPERATEUR);
    case E_WHERE_OPERATEUR:
        return j == GUILLEMET ? deplacer(E_WHERE_GUILLEMET) : attendre(j, IDENT, E_WHERE_ATTRIBUT2);
    case E_WHERE_GUILLEMET: return attendre(j, IDENT, E_WHERE_CONSTANTE);
    case E_WHERE_CONSTANTE: return attendre(j, GUILLEMET, E_WHERE_FIN);
    case E_RENAME: return attendre(j, IDENT, E_RENAME_ANCIEN);
    case E_RENAME_ANCIEN: return attendre(j, AS, E_RENAME_AS);
    case E_RENAME_AS: return attendre(j, IDENT, E_RENAME_NOUVEAU);
    default: return erreur_syntaxe;
    }
}

// The state reached from `dessous` once `gauche` has been recognised.
etat aller_a(etat dessous, non_terminal gauche) {
    bool haut = dessous == E_LET_DEUX_POINTS;
    switch (gauche) {
    case NT_PROGRAMME: return E_PROGRAMME;
    case NT_INSTRUCTION: return dessous == E_DEBUT ? E_INSTRUCTION : E_INSTRUCTION_SUITE;
    case NT_INSTRUCTION_FORME: return E_INSTRUCTION_FAITE;
    case NT_ELEMENTS: return E_PROJECT_ELEMENTS;
    case NT_OPERANDE:
        switch (dessous) {
        case E_LET_DEUX_POINTS: return E_OPERANDE_HAUT;
        case E_JOIN: return E_JOIN_DROIT;
        case E_UNION: return E_UNION_DROIT;
        case E_MINUS: return E_MINUS_DROIT;
        default: return E_PAR_OPERANDE;
        }
    case NT_OPERATION: return haut ? E_LET_OPERATION : E_OPERATION;
    case NT_OP_FORME: return E_OP_FAITE;
    }
    return E_DEBUT;
}

bool instruction_simple(int j) { return j == AT_RELATION || j == AT_DATA || j == AT_PRINT; }

// creation | insertion | affichage, its keyword `mot` read: reads the rest
// and runs its action. Answers false when a token is refused (consumed).
bool lire_instruction(int mot, std::string& nom, std::string& liste) {
    if (yylex() != IDENT) return false;
    nom.assign(yylval);
    if (yylex() != ':') return false;
    if (mot == AT_PRINT) {
        afficher_relation(nom); // rule 10
        return true;
    }
    int elements = yylex();
    // A row of one value that is a keyword is written so by the listing: in
    // @data, a keyword in the place of the value is that value, its own text.
    const fins_items* items = nullptr;
    if (mot == AT_DATA && elements >= WHERE && elements <= AS)
        liste.assign(yytext, yyleng);
    else if (elements == IDENT || elements == LISTE) {
        liste.assign(yylval);
        items = &yyitems; // the ends of its items, found as it was read
    } else
        return false;
    if (mot == AT_RELATION)
        creer_relation(nom, liste); // rule 7
    else
        ajouter_tuple(nom, liste, items); // rule 8
    return true;
}

// The parser's stack. Entries above `sommet` are kept with their text's
// storage so that pushing a token's text again costs no allocation.
struct pile_analyse {
    std::vector<entree_pile> entrees;
    size_t sommet = 0;

    entree_pile& empiler(unsigned char e) {
        if (sommet == entrees.size()) entrees.emplace_back();
        entree_pile& entree = entrees[sommet++];
        entree.etat = e;
        entree.desc.reset();
        return entree;
    }
    etat haut() const { return static_cast<etat>(entrees[sommet - 1].etat); }
};

} // namespace

int yyparse() {
    pile_analyse pile;
    pile.entrees.reserve(200);
    pile.empiler(E_DEBUT);
    std::string nom, liste;
    int jeton = JETON_VIDE;
    for (;;) {
        etat e = pile.haut();
        int numero = reduction_immediate(e);
        if (numero == 0) {
            if (jeton == JETON_VIDE) jeton = yylex();
            if (journal.actif && (e == E_DEBUT || e == E_PROGRAMME) && commence_instruction(jeton))
                noter_instruction(jeton);
            if ((e == E_DEBUT || e == E_PROGRAMME) && instruction_simple(jeton)) {
                if (!lire_instruction(jeton, nom, liste)) {
                    yyerror("parse error");
                    return 1;
                }
                // The statement reduces to `programme`.
                if (e == E_DEBUT) pile.empiler(E_PROGRAMME);
                jeton = JETON_VIDE;
                continue;
            }
            decision d = decider(e, jeton);
            if (d.sorte == decision::ACCEPTER) return 0;
            if (d.sorte == decision::ERREUR) {
                yyerror("parse error");
                return 1;
            }
            if (d.sorte == decision::DEPLACER) {
                entree_pile& entree = pile.empiler(static_cast<unsigned char>(d.valeur));
                if (jeton == IDENT || jeton == LISTE || jeton == OPERATEUR)
                    entree.texte.assign(yylval);
                jeton = JETON_VIDE;
                if (pile.sommet >= static_cast<size_t>(PROFONDEUR_MAX)) {
                    yyerror("parser stack overflow");
                    return 2;
                }
                continue;
            }
            numero = d.valeur;
        }
        // The rule's symbols are replaced by its left-hand side, whose value
        // the action leaves in the first of them.
        const regle& r = regles[numero];
        pile.sommet -= static_cast<size_t>(r.longueur);
        executer_action(numero, &pile.entrees[pile.sommet]);
        // Operand descriptors are no longer read once the enclosing one is built.
        for (int i = 1; i < r.longueur; i++) pile.entrees[pile.sommet + i].desc.reset();
        entree_pile& gauche = pile.entrees[pile.sommet];
        gauche.etat = aller_a(pile.haut(), r.gauche);
        pile.sommet++;
    }
}
