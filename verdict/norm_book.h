#pragma once
// The laboratory's norms and own test methods, kept in norms.ini in the data
// folder: a text file a person can read and mend, which only the program's
// "Нормы испытаний" dialog rewrites.
#include <cstdint>
#include <string>
#include <vector>

#include "common/device_settings.h"
#include "verdict/verdict.h"

struct Norm {
    std::string name;
    std::string method;  // the printed name of the method it holds for
    uint16_t minimum;    // tenths of a kilovolt, above 0
    uint16_t good;       // tenths of a kilovolt; 0 = a one-limit norm
};

struct NormBook {
    std::vector<TestMethod> ownMethods;  // code kMethodOwn each
    std::vector<Norm> norms;
};

constexpr const char* kNormBookFileName = "norms.ini";

// What a data folder without norms.ini starts with: published limits, each
// with its source in its name.
NormBook ExampleNormBook();
// The file's text and back. Parsing skips, without a word, a section without
// a name or (for a norm) a minimum above 0, and a method with a count, rate
// or pause the instrument cannot run; the rest of the file still counts.
std::string NormBookText(const NormBook& book);
NormBook ParseNormBook(const std::string& text);
// Reads the file at path; a missing file is first written with the examples.
NormBook LoadNormBook(const char* path);
// Writes through path + ".tmp" and a replace, so a cut never leaves half a
// file. False when either step failed; the old file then stays.
bool SaveNormBook(const NormBook& book, const char* path);

// Built-in methods first, then the laboratory's own.
std::vector<TestMethod> AllMethods(const NormBook& book);
// nullptr when no method has that name.
const TestMethod* FindMethod(const NormBook& book, const std::string& name);
// The norms that hold for a method, in the book's order.
std::vector<const Norm*> NormsOfMethod(const NormBook& book, const std::string& method);
const Norm* FindNorm(const NormBook& book, const std::string& method, const std::string& name);
// Whether the four instrument parameters of settings are the method's.
bool SettingsMatchMethod(const DeviceSettings& settings, const TestMethod& method);
// Kilovolts as typed ("52", "52.5", "52,5") in tenths; false for anything
// else or for more than 100 kV.
bool ParseKilovolts(const std::string& text, uint16_t* tenths);
// Tenths as the file and the dialog show them: "52" or "52.5".
std::string KilovoltsText(uint16_t tenths);

extern NormBook g_normBook;
// norms.ini beside the program's INI file, in the data folder.
std::string NormBookPath();
