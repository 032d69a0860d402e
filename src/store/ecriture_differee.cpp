#include "store/ecriture_differee.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// The write under way: `octets` is null when there is none.
struct ecrivain {
    std::mutex verrou;
    std::condition_variable reveil; // a write was given, or the end
    std::condition_variable fini;   // the write given is done
    FILE* flux = nullptr;
    const char* octets = nullptr;
    size_t taille = 0;
    bool reussi = true; // of the last write done
    bool arret = false;
    std::thread fil;

    void travailler();
    ~ecrivain();
};

// Set once the system refused the thread: every write is then the caller's.
std::atomic<bool> ecrivain_refuse{false};
// Whether the helper runs: until a write is given, none is started to wait
// on, and none once it is stopped at exit.
bool ecrivain_lance = false;

void ecrivain::travailler() {
    std::unique_lock<std::mutex> garde(verrou);
    for (;;) {
        reveil.wait(garde, [&] { return arret || octets; });
        if (!octets) return;
        FILE* vers = flux;
        const char* debut = octets;
        size_t n = taille;
        garde.unlock();
        bool tout = std::fwrite(debut, 1, n, vers) == n;
        garde.lock();
        reussi = tout;
        octets = nullptr;
        fini.notify_all();
    }
}

ecrivain::~ecrivain() {
    ecrivain_lance = false;
    {
        std::lock_guard<std::mutex> garde(verrou);
        arret = true;
    }
    reveil.notify_all();
    if (fil.joinable()) fil.join();
}

// The helper, started on the first write given to it; null when the system
// refuses a thread.
ecrivain* lance() {
    static ecrivain instance;
    if (!instance.fil.joinable()) {
        if (ecrivain_refuse) return nullptr;
        try {
            instance.fil = std::thread([] { instance.travailler(); });
        } catch (const std::system_error&) {
            ecrivain_refuse = true;
            return nullptr;
        }
    }
    return &instance;
}

} // namespace

bool ecrire_plus_tard(FILE* flux, const char* octets, size_t taille) {
    ecrivain* e = lance();
    if (!e) return false;
    ecrivain_lance = true;
    {
        std::lock_guard<std::mutex> garde(e->verrou);
        e->flux = flux;
        e->octets = octets;
        e->taille = taille;
    }
    e->reveil.notify_one();
    return true;
}

bool attendre_ecriture() {
    if (!ecrivain_lance) return true;
    ecrivain& e = *lance();
    std::unique_lock<std::mutex> garde(e.verrou);
    e.fini.wait(garde, [&] { return !e.octets; });
    bool reussi = e.reussi;
    e.reussi = true; // reported once
    return reussi;
}
