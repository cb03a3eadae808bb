// SHA-256 of the native build from Debian's nettle, as the tests and the native tools use it.
#include "platform/sha256.h"

#include <nettle/sha2.h>

namespace platform {

struct Sha256::State {
    sha256_ctx context;
    bool finished = false;
};

Sha256::Sha256() : state_(new State) { sha256_init(&state_->context); }

Sha256::~Sha256() = default;

bool Sha256::Add(const void* bytes, size_t count) {
    if (state_->finished) return false;
    sha256_update(&state_->context, count, static_cast<const uint8_t*>(bytes));
    return true;
}

bool Sha256::Finish(uint8_t digest[kSha256Size]) {
    if (state_->finished) return false;
    sha256_digest(&state_->context, kSha256Size, digest);
    state_->finished = true;
    return true;
}

bool Sha256::Failed() const { return false; }

}  // namespace platform
