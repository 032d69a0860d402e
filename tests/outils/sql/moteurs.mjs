// Runs a script of algrel-sql on a real engine and answers its listings:
// [{ nom, attributs (null when the engine gives none), lignes: ['v|w', ...] }],
// one per "-- @print NAME" block, in order.
import { spawnSync } from 'node:child_process';
import { createRequire } from 'node:module';
import path from 'node:path';

// The script cut at its "-- @print NAME" lines: the statements before each
// listing, then the listing's name and its query (the line after).
export function decouperScript(script) {
    const lignes = script.split('\n');
    const morceaux = [];
    let avant = [];
    for (let i = 0; i < lignes.length; i++) {
        const m = /^-- @print (.*)$/.exec(lignes[i]);
        if (!m) {
            avant.push(lignes[i]);
            continue;
        }
        morceaux.push({ avant: avant.join('\n'), nom: m[1], requete: lignes[++i] });
        avant = [];
    }
    return { morceaux, fin: avant.join('\n') };
}

function lancer(commande, args, entree) {
    const r = spawnSync(commande, args, { input: entree, encoding: 'utf8', maxBuffer: 1 << 30 });
    if (r.error) throw r.error;
    if (r.status !== 0 || r.stderr) throw new Error(`${commande} : statut ${r.status}\n${r.stderr}`);
    return r.stdout;
}

// Output cut at the marker lines "@@print NAME": header then rows, '|' between values.
function lireBlocs(sortie, enTete) {
    const listings = [];
    for (const ligne of sortie.split('\n')) {
        const m = /^@@print (.*)$/.exec(ligne);
        if (m) {
            listings.push({ nom: m[1], attributs: null, lignes: [] });
        } else if (ligne !== '' && listings.length) {
            const l = listings[listings.length - 1];
            if (enTete && l.attributs === null) l.attributs = ligne.split('|');
            else l.lignes.push(ligne);
        }
    }
    return listings;
}

// sqlite3 on an in-memory database; with .headers on it prints the header
// before the first row only, so an empty listing has no attributes. A quoted
// name that is no column must fail, not be taken for a string (dqs off).
export function executerSqlite(script) {
    const { morceaux, fin } = decouperScript(script);
    let entree = '.headers on\n.mode list\n.separator |\n.bail on\n' +
        '.dbconfig dqs_dml off\n.dbconfig dqs_ddl off\n';
    for (const m of morceaux) entree += `${m.avant}\n.print @@print ${m.nom}\n${m.requete}\n`;
    entree += fin + '\n';
    return lireBlocs(lancer('sqlite3', [':memory:'], entree), true);
}

// psql on the schema `schema` of the server named by PGHOST/PGPORT, made afresh.
export function executerPostgresql(script, schema) {
    const { morceaux, fin } = decouperScript(script);
    let entree = `\\set ON_ERROR_STOP 1\nSET client_min_messages TO WARNING;\n` +
        `DROP SCHEMA IF EXISTS "${schema}" CASCADE;\nCREATE SCHEMA "${schema}";\nSET search_path TO "${schema}";\n`;
    for (const m of morceaux) entree += `${m.avant}\n\\echo @@print ${m.nom}\n${m.requete}\n`;
    entree += `${fin}\nDROP SCHEMA "${schema}" CASCADE;\n`;
    const sortie = lancer('psql', ['-X', '-q', '-A', '-F', '|', '-P', 'footer=off', '-d', 'postgres'], entree);
    return lireBlocs(sortie, true);
}

// DuckDB through its Node.js package installed in `dossier`, a fresh
// in-memory database per script.
export async function executerDuckdb(script, dossier) {
    const { DuckDBInstance } = createRequire(path.resolve(dossier, 'x.js'))('@duckdb/node-api');
    const instance = await DuckDBInstance.create(':memory:');
    const connexion = await instance.connect();
    const { morceaux, fin } = decouperScript(script);
    const listings = [];
    try {
        for (const m of morceaux) {
            if (m.avant.trim()) await connexion.run(m.avant);
            const lecteur = await connexion.runAndReadAll(m.requete);
            listings.push({
                nom: m.nom,
                attributs: lecteur.columnNames(),
                lignes: lecteur.getRows().map((r) => r.map(String).join('|')),
            });
        }
        if (fin.trim()) await connexion.run(fin);
    } finally {
        connexion.closeSync?.();
        instance.closeSync?.();
    }
    return listings;
}
