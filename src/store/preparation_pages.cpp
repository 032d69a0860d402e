#include "store/preparation_pages.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace {

// The helper maps a request this many bytes at a time, so that a block to
// be freed never waits for more than one piece.
constexpr size_t MORCEAU = size_t{2} << 20;
// Requests beyond this many are dropped: the helper is behind anyway.
constexpr size_t MAX_DEMANDES = 64;
constexpr uintptr_t PAGE = 4096;

struct plage {
    char* debut = nullptr;
    char* fin = nullptr;
    bool croise(const char* a, const char* b) const { return debut < b && a < fin; }
};

struct aide_pages {
    std::mutex verrou;
    std::condition_variable reveil; // a request came, or the end
    std::condition_variable libre;  // a piece is mapped
    std::deque<plage> demandes;
    plage en_cours;
    bool arret = false;
    std::thread fil;

    void travailler();
    ~aide_pages();
};

// Whether the helper runs: false before it starts, and once it is stopped at
// exit (the static below is gone then, so this flag alone is read).
std::atomic<bool> aide_active{false};
// Set once the system refused the thread or a request: nothing more is asked.
std::atomic<bool> aide_refusee{false};

void aide_pages::travailler() {
    std::unique_lock<std::mutex> garde(verrou);
    for (;;) {
        reveil.wait(garde, [&] { return arret || !demandes.empty(); });
        if (arret) return;
        plage& tete = demandes.front();
        en_cours = {tete.debut, std::min(tete.fin, tete.debut + MORCEAU)};
        tete.debut = en_cours.fin;
        if (tete.debut >= tete.fin) demandes.pop_front();
        garde.unlock();
        bool refuse = madvise(en_cours.debut, static_cast<size_t>(en_cours.fin - en_cours.debut),
                              MADV_POPULATE_WRITE) != 0 &&
                      errno == EINVAL;
        garde.lock();
        en_cours = {};
        if (refuse) {
            // A system without the request: nothing more is asked.
            aide_refusee = true;
            demandes.clear();
        }
        libre.notify_all();
    }
}

aide_pages::~aide_pages() {
    aide_active = false;
    {
        std::lock_guard<std::mutex> garde(verrou);
        arret = true;
    }
    reveil.notify_all();
    if (fil.joinable()) fil.join();
}

// The helper, started on the first request; null when the system refuses
// a thread, after which nothing more is asked.
aide_pages* aide() {
    static aide_pages instance;
    if (!instance.fil.joinable()) {
        try {
            instance.fil = std::thread([] { instance.travailler(); });
        } catch (const std::system_error&) {
            aide_refusee = true;
            return nullptr;
        }
        aide_active = true;
    }
    return &instance;
}

} // namespace

void preparer_pages(void* debut, void* fin) {
    if (aide_refusee) return;
    // Whole pages inside the range only: a request never reaches past it.
    auto a = (reinterpret_cast<uintptr_t>(debut) + PAGE - 1) & ~(PAGE - 1);
    auto b = reinterpret_cast<uintptr_t>(fin) & ~(PAGE - 1);
    if (a >= b) return;
    aide_pages* aide_lancee = aide();
    if (!aide_lancee) return;
    aide_pages& h = *aide_lancee;
    {
        std::lock_guard<std::mutex> garde(h.verrou);
        if (h.demandes.size() >= MAX_DEMANDES) return;
        h.demandes.push_back({reinterpret_cast<char*>(a), reinterpret_cast<char*>(b)});
    }
    h.reveil.notify_one();
}

void oublier_pages(void* bloc, size_t octets) {
    if (!aide_active) return;
    aide_pages& h = *aide();
    char* debut = static_cast<char*>(bloc);
    char* fin = debut + octets;
    std::unique_lock<std::mutex> garde(h.verrou);
    std::erase_if(h.demandes, [&](const plage& p) { return p.croise(debut, fin); });
    h.libre.wait(garde, [&] { return !h.en_cours.croise(debut, fin); });
}
