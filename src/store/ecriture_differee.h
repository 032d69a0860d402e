// The output buffer written out by a helper thread while the next one
// fills: copying a large listing into the system's file cache then costs
// the other core. A buffer is handed over only once its room is reserved in
// the file, so that a full disk is still met by the run itself, at the same
// point and with the same error as when it writes the buffer.
#pragma once

#include <cstddef>

// Reserves the room of the next `taille` bytes of the regular file `fd`,
// then hands `octets` to the helper, which writes them; answers at once.
// False, with nothing handed, when the file is not regular, its room is
// refused, or the system cannot reserve it: the caller writes them itself.
// The buffer must not change until attendre_ecriture has answered; call
// that first, so that a failure of the buffer before is not missed.
bool differer_ecriture(int fd, const char* octets, size_t taille);

// Waits for the buffer handed last to be written (at once when none):
// false when some of it could not be.
bool attendre_ecriture();
