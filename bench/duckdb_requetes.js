// Runs a workload's requetes.sql (written for `sqlite3 :memory:`) through an
// in-memory DuckDB, with the same CSV files and the same queries: the shell's
// dot commands become their SQL equivalents (.import: a table read from the
// CSV file, every column as text, as sqlite3 loads it; .output then a SELECT:
// the result copied to that CSV file, without header).
//
// Usage: node duckdb_requetes.js MODULES requetes.sql [THREADS]
//   MODULES: the node_modules folder holding @duckdb/node-api.
'use strict';
const fs = require('fs');
const path = require('path');

const [modules, script, threads = '2'] = process.argv.slice(2);
if (!modules || !script) {
    console.error('usage: node duckdb_requetes.js MODULES requetes.sql [THREADS]');
    process.exit(2);
}
const { DuckDBInstance } = require(path.join(modules, '@duckdb/node-api'));

const texte = (chaine) => "'" + chaine.replace(/'/g, "''") + "'";

// The statements of the script, in order, in DuckDB's SQL.
function traduire(lignes) {
    const instructions = [];
    let sortie = null;
    for (const ligne of lignes) {
        const importer = ligne.match(/^\.import --csv (\S+) (\S+)$/);
        const rediriger = ligne.match(/^\.output (\S+)$/);
        if (importer) {
            instructions.push(`CREATE TABLE ${importer[2]} AS SELECT * FROM read_csv(` +
                `${texte(importer[1])}, header = true, all_varchar = true);`);
        } else if (rediriger) {
            sortie = rediriger[1];
        } else if (ligne.startsWith('.') || ligne.trim() === '') {
            continue; // .bail, .headers, .mode: DuckDB's defaults already do it
        } else if (sortie && /^SELECT /i.test(ligne)) {
            const requete = ligne.replace(/;\s*$/, '');
            instructions.push(`COPY (${requete}) TO ${texte(sortie)} (HEADER false);`);
            sortie = null;
        } else {
            instructions.push(ligne);
        }
    }
    return instructions;
}

async function principal() {
    const lignes = fs.readFileSync(script, 'utf8').split('\n');
    const instance = await DuckDBInstance.create(':memory:', { threads });
    const connexion = await instance.connect();
    for (const instruction of traduire(lignes)) await connexion.run(instruction);
    connexion.closeSync();
}

principal().catch((e) => {
    console.error(e.message || e);
    process.exit(1);
});
