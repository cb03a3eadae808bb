// The installed template reaching a fresh data folder, and never replacing one there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program_settings_window.h"
#include "common/program_settings.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "protocol/template_supply.h"

namespace {

const char kData[] = "C:\\Users\\lab\\AppData\\Roaming\\ORLA-K200V";
const char kDataTemplate[] = "C:\\Users\\lab\\AppData\\Roaming\\ORLA-K200V\\template.rtf";
const char kInstalled[] = "C:\\Program Files\\ORLA-K200V\\template.rtf";
const char kShipped[] = "{\\rtf1 PROTOKOLNUM ULIST}";
const char kCustomised[] = "{\\rtf1 our lab PROTOKOLNUM}";

void Put(const char* path, const std::string& bytes) { fake::FileBytes(path).assign(bytes.begin(), bytes.end()); }

std::string Bytes(const char* path) {
    if (!fake::FileExists(path)) return "<none>";
    const std::vector<uint8_t>& b = fake::FileBytes(path);
    return std::string(b.begin(), b.end());
}

struct Case {
    const char* name;
    const char* inData;     // nullptr: no file
    const char* installed;  // nullptr: no file
    TemplateSupply result;
    const char* afterwards;  // the data folder's template afterwards
};

class TemplateSupplyTest : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        fake::Reset();
        platform::CreateFolder(kData);
    }
};

TEST_P(TemplateSupplyTest, CopiesOnlyWhereNothingIsKept) {
    const Case& c = GetParam();
    if (c.inData) Put(kDataTemplate, c.inData);
    if (c.installed) Put(kInstalled, c.installed);
    EXPECT_EQ(ProvideProtocolTemplate(kDataTemplate), c.result);
    EXPECT_EQ(Bytes(kDataTemplate), c.afterwards);
    if (c.installed) {
        EXPECT_EQ(Bytes(kInstalled), c.installed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TemplateSupplyTest,
    ::testing::Values(
        Case{"FreshFolder", nullptr, kShipped, TemplateSupply::Copied, kShipped},
        Case{"CustomisedKept", kCustomised, kShipped, TemplateSupply::Present, kCustomised},
        Case{"PresentWithoutInstallation", kCustomised, nullptr, TemplateSupply::Present, kCustomised},
        Case{"BothMissing", nullptr, nullptr, TemplateSupply::NotInstalled, "<none>"},
        Case{"EmptyOneRefilled", "", kShipped, TemplateSupply::Copied, kShipped},
        Case{"EmptyInstalledNotCopied", nullptr, "", TemplateSupply::NotInstalled, "<none>"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(TemplateSupply, LockedTemplateIsLeftAlone) {
    fake::Reset();
    Put(kDataTemplate, kCustomised);
    Put(kInstalled, kShipped);
    fake::SetFileLocked(kDataTemplate, true);
    EXPECT_EQ(ProvideProtocolTemplate(kDataTemplate), TemplateSupply::Present);
    fake::SetFileLocked(kDataTemplate, false);
    EXPECT_EQ(Bytes(kDataTemplate), kCustomised);
}

TEST(TemplateSupply, FailedCopyLeavesNothingThatLooksKept) {
    fake::Reset();
    platform::CreateFolder(kData);
    Put(kInstalled, kShipped);
    fake::FailNextWrites(1);
    EXPECT_EQ(ProvideProtocolTemplate(kDataTemplate), TemplateSupply::CopyFailed);
    EXPECT_EQ(Bytes(kDataTemplate), "");
    EXPECT_EQ(ProvideProtocolTemplate(kDataTemplate), TemplateSupply::Copied);
    EXPECT_EQ(Bytes(kDataTemplate), kShipped);
}

TEST(TemplateSupply, UnknownProgramFolderCopiesNothing) {
    fake::Reset();
    platform::CreateFolder(kData);
    Put(kInstalled, kShipped);
    fake::SetProgramFolder("");
    EXPECT_EQ(ProvideProtocolTemplate(kDataTemplate), TemplateSupply::NotInstalled);
    EXPECT_FALSE(fake::FileExists(kDataTemplate));
}

TEST(TemplateSupply, FirstStartPutsTheTemplateIntoTheNewDataFolder) {
    fake::Reset();
    Put(kInstalled, kShipped);
    InstallTemplateSupply();
    ProgramSettings settings{};
    LoadProgramSettings(settings);
    EXPECT_EQ(Bytes(kDataTemplate), kShipped);
    Put(kDataTemplate, kCustomised);
    LoadProgramSettings(settings);
    EXPECT_EQ(Bytes(kDataTemplate), kCustomised);
    SetDataFolderFound(nullptr);
}

}  // namespace
