// Random valid programs for the engine checks: every operator, nesting, one
// or two files, repeated rows, empty relations, names that SQL must quote.
// Schemas are tracked while generating, so that algrel runs each program
// cleanly; the same seed gives the same program.

// A small seeded generator (mulberry32): reproducible from its seed alone.
function creerHasard(graine) {
    let etat = graine >>> 0;
    const suivant = () => {
        etat = (etat + 0x6d2b79f5) >>> 0;
        let t = etat;
        t = Math.imul(t ^ (t >>> 15), t | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
    const entier = (n) => Math.floor(suivant() * n);
    return {
        entier,
        choisir: (liste) => liste[entier(liste.length)],
        chance: (p) => suivant() < p,
        melanger: (liste) => {
            const copie = [...liste];
            for (let i = copie.length - 1; i > 0; i--) {
                const j = entier(i + 1);
                [copie[i], copie[j]] = [copie[j], copie[i]];
            }
            return copie;
        },
    };
}

// Attribute names: case pairs, numbers, SQL keywords.
const ATTRIBUTS = ['a', 'b', 'c', 'A', 'B', 'x1', '_y', '030', '12', 'where', 'select', 'order',
    'Name', 'name', 'from', 'k'];
// Names of declared relations, and of @let results (at least two characters,
// so that a join's product "#NAME" never meets a temporary's name).
const RELATIONS = ['R', 'S', 'T', 'where', '12', 'Emp', 'EMP', 'select', 't_1', 'U', 'group'];
const RESULTATS = ['Res', 'RES', 'res', 'table', 'J2', '_tmp', 'Q1', 'values', 'Z9'];
// Few values, so that selections and joins match often; '030' is not '30'.
const VALEURS = ['1', '2', '030', '30', 'x', 'y', 'Lyon', 'lyon', '_z', '0'];

// A program: { donnees: text or null, commandes: text }.
export function genererProgramme(graine) {
    const h = creerHasard(graine);
    const relations = []; // { nom, attributs, vide (never given a row), lignes }
    const noms = new Set();
    let numero = 0;
    const nomNeuf = (reserve) => {
        let nom = h.choisir(reserve);
        while (noms.has(nom)) nom = `${reserve[0]}${numero++}`;
        noms.add(nom);
        return nom;
    };

    const declarer = (sortie) => {
        const n = 1 + h.entier(h.chance(0.1) ? 8 : 4);
        const attributs = h.melanger(ATTRIBUTS).slice(0, n);
        const rel = { nom: nomNeuf(RELATIONS), attributs, vide: h.chance(0.15) };
        relations.push(rel);
        sortie.push(`@relation ${rel.nom}: ${attributs.join(',')}`);
        return rel;
    };
    const remplir = (sortie, rel, nombre) => {
        for (let i = 0; i < nombre; i++) {
            const ligne = rel.attributs.map(() => h.choisir(VALEURS.slice(0, 3 + h.entier(8))));
            sortie.push(`@data ${rel.nom}: ${ligne.join(',')}`);
            // A repeated row now and then: algrel retires it, SQL must not insert it.
            if (h.chance(0.15)) sortie.push(`@data ${rel.nom}: ${ligne.join(',')}`);
        }
    };
    const peupler = (sortie) => {
        const rel = declarer(sortie);
        if (!rel.vide) remplir(sortie, rel, h.entier(12));
    };

    const deuxFichiers = h.chance(0.5);
    const donnees = [];
    const commandes = [];
    const nombreBase = 2 + h.entier(4);
    for (let i = 0; i < nombreBase; i++) peupler(deuxFichiers && i < nombreBase - 1 ? donnees : commandes);

    // Expressions: { texte, attributs, simple (a bare name) }.
    const nommer = (rel) => ({ texte: rel.nom, attributs: rel.attributs, simple: true, vide: rel.vide });
    const entre = (e) => (e.simple ? e : { ...e, texte: `(${e.texte})`, simple: true });
    const operandeMeme = (attributs, profondeur, gauche) => {
        const memes = relations.filter((r) => r.attributs.join(',') === attributs.join(','));
        if (memes.length && h.chance(0.5)) return nommer(h.choisir(memes));
        const plus = relations.filter((r) => attributs.every((a) => r.attributs.includes(a)));
        if (plus.length && h.chance(0.7)) {
            const r = h.choisir(plus);
            const e = profondeur > 0 && h.chance(0.3) ? appliquer(nommer(r), profondeur - 1, 'selection') : nommer(r);
            return entre({ texte: `${entre(e).texte} PROJECT ${attributs.join(',')}`, attributs, simple: false });
        }
        return entre(gauche);
    };
    const operande = (profondeur) => {
        const base = nommer(h.choisir(relations));
        if (profondeur <= 0 || h.chance(0.5)) return base;
        return appliquer(base, profondeur - 1);
    };
    // `e` with one operator applied (of `sorte` when given).
    const appliquer = (e, profondeur, sorte) => {
        const a = e.attributs;
        const choix = sorte || h.choisir(['selection', 'selection', 'comparaison', 'projection',
            'jointure', 'jointure', 'renommage', 'union', 'difference']);
        const g = e.texte;
        switch (choix) {
        case 'selection':
            return { texte: `${g} WHERE ${h.choisir(a)} = "${h.choisir(VALEURS)}"`, attributs: a, simple: false };
        case 'comparaison':
            // `<` and `>` only on a relation that never had a row: algrel refuses them otherwise.
            if (e.simple && e.vide && h.chance(0.5))
                return { texte: `${g} WHERE ${h.choisir(a)} ${h.choisir(['<', '>'])} "${h.choisir(VALEURS)}"`, attributs: a, simple: false };
            return { texte: `${g} WHERE ${h.choisir(a)} = ${h.choisir(a)}`, attributs: a, simple: false };
        case 'projection': {
            const liste = h.melanger(a).slice(0, 1 + h.entier(a.length));
            return { texte: `${g} PROJECT ${liste.join(',')}`, attributs: liste, simple: false };
        }
        case 'jointure': {
            let d = entre(operande(profondeur));
            if (a.length + d.attributs.length > 8) d = nommer(h.choisir(relations));
            if (a.length + d.attributs.length > 8) return appliquer(e, profondeur, 'selection');
            const attributs = [...a, ...d.attributs.filter((x) => !a.includes(x))];
            return { texte: `${g} JOIN ${d.texte}`, attributs, simple: false };
        }
        case 'renommage': {
            const libres = ATTRIBUTS.filter((x) => !a.includes(x));
            const ancien = h.choisir(a);
            const nouveau = h.choisir(libres);
            return { texte: `${g} RENAME ${ancien} AS ${nouveau}`, attributs: a.map((x) => (x === ancien ? nouveau : x)), simple: false };
        }
        default: {
            const d = operandeMeme(a, profondeur, e);
            return { texte: `${g} ${choix === 'union' ? 'UNION' : 'MINUS'} ${d.texte}`, attributs: a, simple: false };
        }
        }
    };

    // Many statements now and then, so that temporaries go past #Z.
    const nombreLet = h.chance(0.1) ? 15 + h.entier(15) : 1 + h.entier(7);
    // Relations held: past 255 the temporaries' names come round again.
    let tenues = relations.length;
    for (let i = 0; i < nombreLet && tenues < 180; i++) {
        let e = h.chance(0.3) ? entre(appliquer(operande(2), 1)) : operande(1);
        e = appliquer(e, 2);
        for (let n = h.entier(3); n > 0; n--) e = appliquer(e, 1);
        const nom = nomNeuf(RESULTATS);
        commandes.push(`@let ${nom}: ${e.texte}`);
        tenues += (e.texte.match(/ (WHERE|PROJECT|JOIN|RENAME|UNION|MINUS) /g) || []).length +
            (e.texte.match(/ JOIN /g) || []).length;
        relations.push({ nom, attributs: e.attributs, vide: false });
        if (h.chance(0.7)) commandes.push(`@print ${nom}:`);
        if (h.chance(0.2)) {
            // Rows added after a listing: the next listing shows them, not the earlier one.
            const base = h.choisir(relations.filter((r) => !r.vide));
            if (base) {
                commandes.push(`@print ${base.nom}:`);
                remplir(commandes, base, 1 + h.entier(3));
                commandes.push(`@print ${base.nom}:`);
            }
        }
        if (h.chance(0.2)) peupler(commandes);
    }
    if (h.chance(0.3)) commandes.push(`@print ${h.choisir(relations).nom}:`);
    const texte = (lignes) => lignes.join(h.chance(0.5) ? '\n' : '\n\n') + '\n';
    return { donnees: deuxFichiers && donnees.length ? texte(donnees) : null, commandes: texte(commandes) };
}
