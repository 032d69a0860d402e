#include "store/ecriture_differee.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// The one buffer being written, if any.
struct ecrivain {
    std::mutex verrou;
    std::condition_variable reveil; // a buffer came, or the end
    std::condition_variable fini;   // the buffer is written
    int fd = -1;
    const char* octets = nullptr;
    size_t taille = 0;
    bool en_cours = false;
    bool reussi = true;
    bool arret = false;
    std::thread fil;

    void travailler();
    ~ecrivain();
};

// Writes all of [octets, octets + taille) to `fd`; false on a refusal.
bool tout_ecrire(int fd, const char* octets, size_t taille) {
    while (taille > 0) {
        ssize_t n = write(fd, octets, taille);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        octets += n;
        taille -= static_cast<size_t>(n);
    }
    return true;
}

void ecrivain::travailler() {
    std::unique_lock<std::mutex> garde(verrou);
    for (;;) {
        reveil.wait(garde, [&] { return arret || en_cours; });
        if (en_cours) {
            garde.unlock();
            bool ecrit = tout_ecrire(fd, octets, taille);
            garde.lock();
            reussi = ecrit;
            en_cours = false;
            fini.notify_all();
        }
        if (arret) return;
    }
}

// Whether the helper runs: false before the first buffer is handed and
// once it is stopped at exit (the static below is gone then).
std::atomic<bool> ecrivain_actif{false};

ecrivain::~ecrivain() {
    ecrivain_actif = false;
    {
        std::lock_guard<std::mutex> garde(verrou);
        arret = true;
    }
    reveil.notify_all();
    if (fil.joinable()) fil.join();
}

ecrivain& instance() {
    static ecrivain e;
    if (!e.fil.joinable()) {
        e.fil = std::thread([] { e.travailler(); });
        ecrivain_actif = true;
    }
    return e;
}

// Set once a file system could not reserve room: everything is then written
// by the caller, as without the helper.
std::atomic<bool> reservation_impossible{false};

// Reserves the next `taille` bytes of `fd` from its current offset, its
// size unchanged until they are written.
bool reserver(int fd, size_t taille) {
    if (reservation_impossible) return false;
    struct stat infos;
    if (fstat(fd, &infos) != 0 || !S_ISREG(infos.st_mode)) return false;
    off_t position = lseek(fd, 0, SEEK_CUR);
    if (position < 0) return false;
    if (fallocate(fd, FALLOC_FL_KEEP_SIZE, position, static_cast<off_t>(taille)) == 0) return true;
    if (errno == EOPNOTSUPP || errno == ENOSYS) reservation_impossible = true;
    return false;
}

} // namespace

bool differer_ecriture(int fd, const char* octets, size_t taille) {
    if (!reserver(fd, taille)) return false;
    ecrivain& e = instance();
    {
        std::unique_lock<std::mutex> garde(e.verrou);
        e.fini.wait(garde, [&] { return !e.en_cours; });
        e.fd = fd;
        e.octets = octets;
        e.taille = taille;
        e.en_cours = true;
    }
    e.reveil.notify_one();
    return true;
}

bool attendre_ecriture() {
    if (!ecrivain_actif) return true;
    ecrivain& e = instance();
    std::unique_lock<std::mutex> garde(e.verrou);
    e.fini.wait(garde, [&] { return !e.en_cours; });
    bool reussi = e.reussi;
    e.reussi = true;
    return reussi;
}
