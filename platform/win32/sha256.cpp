// SHA-256 on Windows from the system's CryptoAPI (PROV_RSA_AES, CALG_SHA_256), there from Windows XP SP3.
#include "platform/sha256.h"

#include <windows.h>
#include <wincrypt.h>

// The headers show SHA-256 only from XP SP3 up, while the 32-bit build names
// plain XP as its oldest Windows; SP3 is what that build needs in any case.
#ifndef CALG_SHA_256
#define CALG_SHA_256 (ALG_CLASS_HASH | ALG_TYPE_ANY | 12)
#endif

namespace platform {

struct Sha256::State {
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;
    bool failed = false;
};

Sha256::Sha256() : state_(new State) {
    // A verify context needs no key container: nothing is stored or asked.
    State& s = *state_;
    s.failed = !CryptAcquireContextW(&s.provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) ||
               !CryptCreateHash(s.provider, CALG_SHA_256, 0, 0, &s.hash);
}

Sha256::~Sha256() {
    if (state_->hash) CryptDestroyHash(state_->hash);
    if (state_->provider) CryptReleaseContext(state_->provider, 0);
}

bool Sha256::Add(const void* bytes, size_t count) {
    const BYTE* at = static_cast<const BYTE*>(bytes);
    // CryptHashData takes a DWORD length; a larger piece goes in parts.
    constexpr size_t kPiece = 1u << 30;
    while (!state_->failed && count > 0) {
        const DWORD n = static_cast<DWORD>(count < kPiece ? count : kPiece);
        state_->failed = !CryptHashData(state_->hash, at, n, 0);
        at += n;
        count -= n;
    }
    return !state_->failed;
}

bool Sha256::Finish(uint8_t digest[kSha256Size]) {
    DWORD size = kSha256Size;
    if (state_->failed || !CryptGetHashParam(state_->hash, HP_HASHVAL, digest, &size, 0) || size != kSha256Size)
        state_->failed = true;
    return !state_->failed;
}

bool Sha256::Failed() const { return state_->failed; }

}  // namespace platform
