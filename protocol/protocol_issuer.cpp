// The installed source of the protocol's issuer.
#include "protocol/protocol_issuer.h"

namespace {
void (*g_fill)(ProtocolIssuer* issuer) = nullptr;
}  // namespace

void InstallProtocolIssuer(void (*fill)(ProtocolIssuer* issuer)) { g_fill = fill; }

void CurrentProtocolIssuer(ProtocolIssuer* issuer) {
    *issuer = ProtocolIssuer{};
    if (g_fill) g_fill(issuer);
}
