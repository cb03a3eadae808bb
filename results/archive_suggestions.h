#pragma once
// The archive's distinct texts of the protocol form's fields, offered as the user types.
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "platform/threads.h"
#include "common/test_record.h"

// The protocol texts that offer what was typed before: material, standard,
// sample source, appearance, preparation, the tester's position and name.
constexpr int kSuggestedTexts[] = {1, 2, 3, 5, 9, 11, 12};
// Texts kept per field, the oldest going first: a laboratory has a few dozen
// materials and standards, and a longer list is no help to read.
constexpr size_t kSuggestionsPerText = 200;
// How far back log.dat is read at start-up.
constexpr size_t kSuggestionGroups = 2000;

// Per protocol text, the distinct texts of the series taken, newest first.
// Texts that differ only in case or in blanks around them are one, in the
// newest spelling. The worker and the user-interface thread both use it.
class TextSuggestions {
public:
    // A series archived after every one taken so far.
    void Take(const TestRecord& record);
    // Empty for a text that offers nothing.
    std::vector<std::string> Texts(int text) const;

private:
    mutable platform::Mutex lock_;
    std::vector<std::string> texts_[kProtocolTextCount];
};

// The program's list: read from log.dat at start-up, then given every series
// and amendment the program archives.
TextSuggestions& ArchivedTexts();
// Takes the series of the last kSuggestionGroups of log.dat, oldest first,
// skipping records whose crc fails; false when the file is missing or busy.
bool LoadArchivedTexts(TextSuggestions* suggestions);
