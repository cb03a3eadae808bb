// Cross-checks the main window's resource script against what the code
// relies on: the form fields the Tab cycle and the protocol copy walk, the
// commands the menu and the accelerators send, and the texts users see.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/resource_ids.h"
#include "app/window_rules.h"

namespace {

std::string ScriptText() {
    std::string path = __FILE__;
    path = path.substr(0, path.rfind("tests/unit/app/")) + "app/win32/resources.rc";
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

std::vector<std::string> Lines(const std::string& text, const std::string& keyword) {
    std::vector<std::string> found;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        size_t start = line.find_first_not_of(' ');
        if (start != std::string::npos && line.compare(start, keyword.size(), keyword) == 0) found.push_back(line);
    }
    return found;
}

// The numbers after the closing quote (or after the keyword): id, x, y, w, h.
std::vector<int> Numbers(const std::string& line) {
    size_t from = line.rfind('"');
    std::vector<int> numbers;
    std::istringstream in(line.substr(from == std::string::npos ? line.find_first_not_of(' ') + 8 : from + 1));
    for (std::string item; std::getline(in, item, ',');) {
        try {
            numbers.push_back(std::stoi(item));
        } catch (...) {
        }
    }
    return numbers;
}

// A menu item's command: its number, or an id of app/resource_ids.h by name.
int MenuCommand(const std::string& line) {
    std::vector<int> n = Numbers(line);
    if (!n.empty()) return n[0];
    std::istringstream in(line.substr(line.rfind('"') + 1));
    std::string name;
    std::getline(in, name, ',');
    std::getline(in, name, ',');
    name.erase(0, name.find_first_not_of(' '));
    name.erase(name.find_last_not_of(" \r") + 1);
    const std::map<std::string, int> named = {{"CMD_NORMS", CMD_NORMS}, {"CMD_OPEN_ARCHIVE", CMD_OPEN_ARCHIVE},
                                                {"CMD_JOURNAL", CMD_JOURNAL}};
    return named.at(name);
}

class MainResources : public ::testing::Test {
protected:
    std::string script = ScriptText();
};

}  // namespace

TEST_F(MainResources, EveryFormFieldSitsBesideItsLabelAndScrolls) {
    ASSERT_FALSE(script.empty());
    std::map<int, std::vector<int>> fields;
    for (const auto& line : Lines(script, "EDITTEXT")) {
        std::vector<int> n = Numbers(line);
        ASSERT_GE(n.size(), 5u) << line;
        EXPECT_EQ(fields.count(n[0]), 0u) << "duplicate field " << n[0];
        fields[n[0]] = n;
        EXPECT_NE(line.find("ES_AUTOHSCROLL"), std::string::npos) << line;
        EXPECT_NE(line.find("WS_TABSTOP"), std::string::npos) << line;
    }
    ASSERT_EQ(fields.size(), static_cast<size_t>(kFormFieldCount));
    std::vector<int> labelRows;
    for (const auto& line : Lines(script, "LTEXT")) {
        std::vector<int> n = Numbers(line);
        if (n.size() >= 5 && n[1] == 4 && n[2] < 190) labelRows.push_back(n[2]);
    }
    ASSERT_EQ(labelRows.size(), static_cast<size_t>(kFormFieldCount));
    for (int i = 0; i < kFormFieldCount; ++i) {
        const std::vector<int>& f = fields[kFirstFormField + i];
        ASSERT_FALSE(f.empty()) << "missing field " << kFirstFormField + i;
        EXPECT_EQ(f[2], labelRows[i]) << "field " << f[0];
        EXPECT_EQ(f[3], 160);
        EXPECT_EQ(f[4], 11);  // 10 cut off the underscore's last row
    }
}

TEST_F(MainResources, MenuAndAcceleratorsSendOnlyHandledCommands) {
    const std::set<int> handled = {CMD_NEXT_FIELD,    CMD_PREVIOUS_FIELD,  CMD_SPACE,           IDC_PRINT,  CMD_SAVE_PROTOCOL,
                                   CMD_ARCHIVE,       CMD_EXIT,            CMD_ABOUT,  CMD_DEVICE_SETTINGS,
                                   CMD_PROGRAM_SETTINGS, CMD_NORMS, CMD_OPEN_ARCHIVE, CMD_JOURNAL};
    std::set<int> menu;
    for (const auto& line : Lines(script, "MENUITEM \"")) menu.insert(MenuCommand(line));
    EXPECT_EQ(menu, (std::set<int>{201, 172, 204, 205, 206, 207, 209, 211, 212, 213}));
    for (int id : menu) EXPECT_EQ(handled.count(id), 1u) << id;

    for (const auto& line : Lines(script, "MENUITEM \"")) {
        bool grayed = line.find("GRAYED") != std::string::npos;
        EXPECT_EQ(grayed, MenuCommand(line) == CMD_DEVICE_SETTINGS) << line;
    }
    std::map<std::string, int> keys;
    for (const char* key : {"VK_F1", "VK_TAB", "VK_SPACE"})
        for (const auto& line : Lines(script, key)) {
            EXPECT_NE(line.find("VIRTKEY"), std::string::npos) << line;
            if (line.find("SHIFT") == std::string::npos) keys[key] = std::stoi(line.substr(line.find(',') + 1));
        }
    EXPECT_EQ(keys, (std::map<std::string, int>{{"VK_F1", 209}, {"VK_TAB", 80}, {"VK_SPACE", 81}}));
    EXPECT_EQ(Lines(script, "VK_TAB, CMD_PREVIOUS_FIELD, VIRTKEY, SHIFT").size(), 1u);
}

TEST_F(MainResources, TextsReachTheScriptAsUtf8WithItsCodePage) {
    EXPECT_NE(script.find("#pragma code_page(65001)"), std::string::npos);
    for (const char* text : {u8"CAPTION \"ОРЛА-К200В\"", u8"\"ПУСК\", 170", u8"\"СТОП\", 171",
                             u8"\"ПЕЧАТЬ\", 172, 116, 282, 50, 14, WS_DISABLED", u8"FONT 8, \"MS Shell Dlg\"",
                             u8"CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST",
                             u8"\"Температура помещения\", 108", u8"\"Температура жидкости\", 108"})
        EXPECT_NE(script.find(text), std::string::npos) << text;
}

TEST_F(MainResources, ControlsLieInsideTheirGroupBoxesAndTheDialog) {
    struct Box {
        int id, x, y, w, h;
    };
    std::vector<Box> groups;
    for (const auto& line : Lines(script, "GROUPBOX")) {
        std::vector<int> n = Numbers(line);
        ASSERT_GE(n.size(), 5u) << line;
        groups.push_back({n[0], n[1], n[2], n[3], n[4]});
    }
    ASSERT_EQ(groups.size(), 3u);
    int placed = 0;
    for (const char* keyword : {"LTEXT", "RTEXT", "EDITTEXT", "PUSHBUTTON"})
        for (const auto& line : Lines(script, keyword)) {
            std::vector<int> n = Numbers(line);
            if (n.size() < 5) continue;
            EXPECT_LE(n[1] + n[3], 330) << line;
            EXPECT_LE(n[2] + n[4], 352) << line;
            int inside = 0;
            for (const Box& g : groups)
                inside += n[1] > g.x && n[2] > g.y && n[1] + n[3] < g.x + g.w && n[2] + n[4] < g.y + g.h;
            // Only the three buttons stand outside the group boxes.
            EXPECT_EQ(inside, keyword == std::string("PUSHBUTTON") ? 0 : 1) << line;
            ++placed;
        }
    EXPECT_EQ(placed, 13 + 13 + 10 + 3);
}

TEST_F(MainResources, EachTestParameterValueSharesItsLabelsRow) {
    std::map<int, int> labelRow, valueRow;
    for (const auto& line : Lines(script, "LTEXT")) {
        std::vector<int> n = Numbers(line);
        if (n.size() >= 5 && n[0] >= 128 && n[0] <= 132) labelRow[n[0]] = n[2];
    }
    for (const auto& line : Lines(script, "RTEXT")) {
        std::vector<int> n = Numbers(line);
        if (n.size() >= 5) valueRow[n[0]] = n[2];
    }
    ASSERT_EQ(labelRow.size(), 5u);
    ASSERT_EQ(valueRow.size(), 5u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(valueRow[IDC_VALUE_COUNT + i], labelRow[128 + i]) << i;
}
