#include "outils/commun/usage.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <string>

std::string cause_systeme(int code_errno) {
    switch (code_errno) {
    case ENOENT: return "fichier ou dossier introuvable";
    case EACCES:
    case EPERM: return "permission refusée";
    case EISDIR: return "c'est un répertoire";
    case ENOTDIR: return "un élément du chemin n'est pas un répertoire";
    case ENAMETOOLONG: return "nom trop long";
    case ENOSPC: return "plus de place sur le disque";
    case EROFS: return "système de fichiers en lecture seule";
    case ELOOP: return "trop de liens symboliques";
    default: return "erreur système " + std::to_string(code_errno);
    }
}

FILE* ouvrir_lecture(const std::string& chemin) {
    FILE* flux = std::fopen(chemin.c_str(), "r");
    if (!flux)
        throw erreur_usage{"impossible d'ouvrir le fichier « " + chemin +
                           " » : " + cause_systeme(errno)};
    struct stat infos;
    if (fstat(fileno(flux), &infos) != 0 || S_ISDIR(infos.st_mode)) {
        std::fclose(flux);
        throw erreur_usage{"« " + chemin + " » est un répertoire, pas un fichier"};
    }
    return flux;
}

std::string lire_fichier(const std::string& chemin) {
    FILE* flux = ouvrir_lecture(chemin);
    std::string texte;
    char bloc[1 << 16];
    size_t lus;
    while ((lus = std::fread(bloc, 1, sizeof bloc, flux)) > 0) texte.append(bloc, lus);
    bool echec = std::ferror(flux);
    std::fclose(flux);
    if (echec) throw erreur_usage{"lecture impossible du fichier « " + chemin + " »"};
    return texte;
}

bool meme_fichier(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

long lire_nombre(const std::string& option, const std::string& texte) {
    char* fin = nullptr;
    errno = 0;
    long n = std::strtol(texte.c_str(), &fin, 10);
    if (texte.empty() || *fin != '\0' || errno != 0 || n < 0 || texte[0] == '-' ||
        texte[0] == '+' || texte[0] == ' ')
        throw erreur_usage{"l'option " + option + " attend un nombre entier positif, pas « " +
                           texte + " »"};
    return n;
}

int signaler_usage(const char* programme, const erreur_usage& e, const char* usage) {
    std::fprintf(stderr, "%s : %s\nusage : %s\n", programme, e.message.c_str(), usage);
    return 2;
}

void ouvrir_entrees(const std::string* chemin_donnees, const std::string& chemin_commandes,
                    FILE*& donnees, FILE*& commandes) {
    if (chemin_donnees) donnees = ouvrir_lecture(*chemin_donnees);
    try {
        commandes = ouvrir_lecture(chemin_commandes);
    } catch (const erreur_usage&) {
        if (donnees) std::fclose(donnees);
        donnees = nullptr;
        throw;
    }
}
