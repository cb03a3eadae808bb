#pragma once
// Gives the data folder the protocol template installed beside the program.

// What ProvideProtocolTemplate found or did.
enum class TemplateSupply {
    Present,       // the data folder has a template (or one another program holds open): left alone
    Copied,        // the installed template was copied there
    NotInstalled,  // neither place has one; saving a protocol will say so
    CopyFailed,    // the copy could not be written; nothing usable was left behind
};

// When templatePath names no template, copies template.rtf from the program's
// own folder there. An existing template, possibly edited by the user, is
// never replaced; an empty one holds nothing to keep and counts as missing.
TemplateSupply ProvideProtocolTemplate(const char* templatePath);
