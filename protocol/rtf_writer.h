#pragma once
#include <string>

#include "protocol/protocol_issuer.h"
#include "protocol/protocol_notes.h"
#include "common/test_record.h"

// The protocol document is template.rtf with its upper-case keys replaced;
// the program never composes RTF itself.

// Whether every group the text opens is closed again, none is closed that
// was not opened, and nothing but blanks follows the outermost group. A
// template failing this loses text in every reader (a document closed early
// shows nothing after that point) and is refused as damaged. A text without
// braces passes.
bool RtfGroupsBalanced(const std::string& text);
// Appends every byte of value as \'xx (lower-case hex), letters included, so
// no replacement can form a key or an RTF control word.
void RtfEscape(std::string& destination, const std::string& value);
// Replaces every occurrence of key, leftmost first, by the escaped value.
void ReplacePlaceholder(std::string& text, const char* key, const std::string& value);
// Runs the 23 replacements in their fixed order; the register's notes give
// the amendment's reason, the approval's date (UTVDATE) and the draft mark
// (PROEKT). A template without PROEKT gets the mark as a paragraph of its own
// after the title's (the one holding PROTOKOLNUM), when that is a plain one.
void FillProtocolTemplate(std::string& text, const TestRecord& record, const ProtocolIssuer& settings,
                          const ProtocolNotes& notes = ProtocolNotes());

// Full path of the template: <application data>\ORLA-K200V\template.rtf.
// Empty when the application-data folder cannot be determined.
std::string ProtocolTemplatePath();

// Reads the template, fills it and writes it to outputPath, telling the user
// of every failure. Returns true when the whole document was written.
bool WriteProtocolRtf(const char* templatePath, const char* outputPath, const TestRecord& record,
                      const ProtocolIssuer& settings, const ProtocolNotes& notes = ProtocolNotes());
