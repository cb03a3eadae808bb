#pragma once
// SHA-256 from the system's library (CryptoAPI on Windows, nettle in the native build), never our own.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

constexpr size_t kSha256Size = 32;
constexpr size_t kSha256HexSize = 2 * kSha256Size;

// One SHA-256 fed in pieces, so a whole archive file is hashed without
// holding it in memory; one thread at a time.
class Sha256 {
public:
    // Starts an empty hash; Failed() tells when the system's library refused.
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;
    // Adds count bytes; false (and every later call false) once the library failed.
    bool Add(const void* bytes, size_t count);
    // The digest of everything added; the hasher is spent then. False when the library failed.
    bool Finish(uint8_t digest[kSha256Size]);
    bool Failed() const;

    struct State;  // the library's, one definition per platform

private:
    std::unique_ptr<State> state_;
};

// The bytes as lower-case hex, two characters a byte.
std::string HexLower(const uint8_t* bytes, size_t count);
// SHA-256 of the bytes as 64 lower-case hex characters; empty when the library failed.
std::string Sha256Hex(const void* bytes, size_t count);

}  // namespace platform
