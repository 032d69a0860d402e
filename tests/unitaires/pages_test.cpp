// Pages asked for ahead of their first write: the helper never changes a
// byte, and a block may be grown, moved or freed while requests on it wait.
#include "store/grands_blocs.h"
#include "store/preparation_pages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr size_t MIO = size_t{1} << 20;

// Whether `octets` bytes from `debut` all hold `valeur`.
bool tous_egaux(const char* debut, size_t octets, char valeur) {
    for (size_t i = 0; i < octets; i++)
        if (debut[i] != valeur) return false;
    return true;
}

} // namespace

TEST(pages, les_pages_demandees_gardent_leur_contenu_quand_le_bloc_grandit) {
    auto* bloc = static_cast<char*>(agrandir_bloc(nullptr, 16 * MIO));
    ASSERT_NE(bloc, nullptr);
    std::memset(bloc, 'x', 3 * MIO);
    // The request covers written bytes and fresh ones; the block then grows
    // (and may move) while the helper is still on it.
    preparer_bloc_agrandi(bloc, MIO, 16 * MIO);
    bloc = static_cast<char*>(agrandir_bloc(bloc, 64 * MIO));
    ASSERT_NE(bloc, nullptr);
    preparer_bloc_agrandi(bloc, 16 * MIO, 200 * MIO); // clipped to the block
    EXPECT_TRUE(tous_egaux(bloc, 3 * MIO, 'x'));
    EXPECT_TRUE(tous_egaux(bloc + 3 * MIO, 61 * MIO, 0));
    liberer_bloc_agrandi(bloc);
}

TEST(pages, un_bloc_libere_aussitot_demande_ne_laisse_rien_en_cours) {
    // Many blocks asked for and freed at once: each free waits for the piece
    // being mapped, and drops the rest.
    for (int i = 0; i < 50; i++) {
        void* bloc = allouer_bloc(8 * MIO);
        preparer_pages(bloc, static_cast<char*>(bloc) + 8 * MIO);
        liberer_bloc(bloc, 8 * MIO);
    }
    void* bloc = allouer_bloc(8 * MIO);
    EXPECT_TRUE(tous_egaux(static_cast<const char*>(bloc), 8 * MIO, 0));
    liberer_bloc(bloc, 8 * MIO);
}

TEST(pages, une_demande_hors_des_pages_entieres_est_ignoree) {
    char petit[64] = {};
    preparer_pages(petit + 1, petit + 63); // no whole page inside
    oublier_pages(petit, sizeof petit);
    EXPECT_TRUE(tous_egaux(petit, sizeof petit, 0));
}
