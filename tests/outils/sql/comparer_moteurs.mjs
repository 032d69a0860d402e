// Compares, listing by listing, what algrel writes for a program with what a
// real engine gives for algrel-sql's script of it: same names, attributes in
// the same order, same rows as sets.
//
// node comparer_moteurs.mjs --moteur sqlite|postgresql|duckdb --algrel PATH
//      --sql PATH (--cas DIR... | --aleatoire N [--graine G]) [--duckdb DIR]
// A failure prints the program (and its seed, which reproduces it with
// --aleatoire 1 --graine SEED) and the difference; the status is then 1.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { genererProgramme } from './generateur_programmes.mjs';
import { executerDuckdb, executerPostgresql, executerSqlite } from './moteurs.mjs';

function lireOptions(argv) {
    const o = { cas: [], graine: 1, aleatoire: 0 };
    for (let i = 0; i < argv.length; i++) {
        const a = argv[i];
        if (a === '--cas') while (i + 1 < argv.length && !argv[i + 1].startsWith('--')) o.cas.push(argv[++i]);
        else if (a === '--aleatoire') o.aleatoire = Number(argv[++i]);
        else if (a === '--graine') o.graine = Number(argv[++i]);
        else o[a.replace(/^--/, '')] = argv[++i];
    }
    return o;
}

// algrel's listings from its output file: "@relation N:a,b" then "@data N:v,w" lines.
function lireSortieAlgrel(texte) {
    const listings = [];
    for (const ligne of texte.split('\n')) {
        let m = /^@relation ([^:]*):(.*)$/.exec(ligne);
        if (m) {
            listings.push({ nom: m[1], attributs: m[2].split(','), lignes: [] });
            continue;
        }
        m = /^@data ([^:]*):(.*)$/.exec(ligne);
        if (m) listings[listings.length - 1].lignes.push(m[2].split(',').join('|'));
    }
    return listings;
}

// The first difference between the two lists of listings, or null.
function comparerListings(attendus, obtenus) {
    if (attendus.length !== obtenus.length)
        return `${attendus.length} listings d'algrel, ${obtenus.length} du moteur`;
    for (let i = 0; i < attendus.length; i++) {
        const a = attendus[i];
        const o = obtenus[i];
        if (a.nom !== o.nom) return `listing ${i + 1} : ${a.nom} contre ${o.nom}`;
        if (o.attributs !== null && a.attributs.join(',') !== o.attributs.join(','))
            return `listing ${i + 1} (${a.nom}) : attributs ${a.attributs} contre ${o.attributs}`;
        const ta = [...a.lignes].sort();
        const to = [...o.lignes].sort();
        if (ta.join('\n') !== to.join('\n'))
            return `listing ${i + 1} (${a.nom}) : lignes\n  algrel : ${ta.join(' ; ')}\n  moteur : ${to.join(' ; ')}`;
    }
    return null;
}

function executer(commande, args) {
    return spawnSync(commande, args, { encoding: 'utf8', maxBuffer: 1 << 30 });
}

// Runs algrel and algrel-sql on the program of `dossier`; answers the
// difference found, or null.
async function verifier(o, dossier, numero) {
    const fichiers = ['donnees.vorn', 'commandes.vorn']
        .map((f) => path.join(dossier, f)).filter((f) => fs.existsSync(f));
    const sortie = path.join(dossier, 'sortie.vorn');
    fs.rmSync(sortie, { force: true });
    const algrel = executer(o.algrel, [...fichiers, sortie]);
    if (algrel.status !== 0) return `algrel refuse le programme (statut ${algrel.status}) : ${algrel.stderr}`;
    const args = o.moteur === 'sqlite' ? fichiers : ['--dialecte', o.moteur, ...fichiers];
    const sql = executer(o.sql, args);
    if (sql.status !== 0 || sql.stderr) return `algrel-sql : statut ${sql.status} ${sql.stderr}`;
    const attendus = lireSortieAlgrel(fs.existsSync(sortie) ? fs.readFileSync(sortie, 'utf8') : '');
    let obtenus;
    try {
        if (o.moteur === 'sqlite') obtenus = executerSqlite(sql.stdout);
        else if (o.moteur === 'postgresql') obtenus = executerPostgresql(sql.stdout, `p${numero}`);
        else obtenus = await executerDuckdb(sql.stdout, o.duckdb);
    } catch (e) {
        return `le moteur refuse le script : ${e.message}`;
    }
    return comparerListings(attendus, obtenus);
}

function decrire(dossier) {
    return ['donnees.vorn', 'commandes.vorn'].map((f) => path.join(dossier, f))
        .filter((f) => fs.existsSync(f)).map((f) => `== ${path.basename(f)}\n${fs.readFileSync(f, 'utf8')}`).join('');
}

async function principal() {
    const o = lireOptions(process.argv.slice(2));
    let echecs = 0;
    let compares = 0;
    const signaler = (quoi, dossier, difference) => {
        echecs++;
        console.log(`ÉCHEC ${quoi} : ${difference}\n${decrire(dossier)}`);
    };
    // Every program runs in a work folder of its own: a case's folder is never written.
    const travail = fs.mkdtempSync(path.join(os.tmpdir(), 'algrel-sql-'));
    const vider = () => { for (const f of fs.readdirSync(travail)) fs.rmSync(path.join(travail, f)); };
    try {
        for (const cas of o.cas) {
            vider();
            for (const f of ['donnees.vorn', 'commandes.vorn'])
                if (fs.existsSync(path.join(cas, f))) fs.copyFileSync(path.join(cas, f), path.join(travail, f));
            compares++;
            const d = await verifier(o, travail, compares);
            if (d) signaler(`cas ${path.basename(cas)}`, travail, d);
        }
        for (let i = 0; i < o.aleatoire; i++) {
            const graine = o.graine + i;
            const programme = genererProgramme(graine);
            vider();
            if (programme.donnees !== null) fs.writeFileSync(path.join(travail, 'donnees.vorn'), programme.donnees);
            fs.writeFileSync(path.join(travail, 'commandes.vorn'), programme.commandes);
            compares++;
            const d = await verifier(o, travail, compares);
            if (d) signaler(`graine ${graine}`, travail, d);
            if (echecs >= 5) break;
        }
    } finally {
        fs.rmSync(travail, { recursive: true, force: true });
    }
    console.log(`${o.moteur} : ${compares} programme(s) comparé(s), ${echecs} différence(s)`);
    process.exitCode = echecs ? 1 : 0;
}

await principal();
