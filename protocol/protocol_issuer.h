// Who issues the protocol: the settings texts that every protocol prints.
#pragma once

// Filled by the shell from the program's settings; the slots keep the
// settings' sizes and, like them, may lack their terminator.
struct ProtocolIssuer {
    char organisationName[1024] = {};  // the organisation, its lines as typed
    char priborSerialNumber[256] = {};  // the instrument's serial number
    char direktor[256] = {};            // who approves the protocol: the title
    char direktorName[256] = {};        // and the name
    bool onlyApproved = false;          // "Выдавать протоколы только после утверждения"
};

// The shell's source of the issuer. fill runs on the user-interface thread
// each time a protocol is made and may rely on nothing but its argument;
// without a source every text is empty.
void InstallProtocolIssuer(void (*fill)(ProtocolIssuer* issuer));
// The issuer of the protocol being made now, from the installed source.
void CurrentProtocolIssuer(ProtocolIssuer* issuer);
