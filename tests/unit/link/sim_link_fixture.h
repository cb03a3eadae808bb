#pragma once
// Link tests against the simulated instrument: the driver library is the
// simulator, running on the fake platform's virtual clock.
#include <string>
#include <vector>

#include "link/file_transfer.h"
#include "sim/sim.h"
#include "tests/unit/link/link_fixture.h"

class SimLinkFixture : public LinkTest {
protected:
    void TearDown() override {
        SetAnswerWait(AnswerWait::UntilQueued);
        SimSetClock(nullptr);
        LinkTest::TearDown();
    }
    static SimConfig Config(const std::string& description) {
        SimConfig c;
        c.description = description;
        c.speed = 100.0;
        return c;
    }
    void Start(const SimConfig& config) {
        SimSetClock(&fake::Now);
        SimReset(config);
        fake::SetDriverLibrary("ftd2xx.dll", [](const char* name) { return SimLookupFunction(name); });
        ASSERT_TRUE(LinkWorkerStartup());
        fake::ClearUiCalls();
    }
    // Everything the program wrote to the instrument from journal entry
    // `from` on.
    static std::vector<std::vector<uint8_t>> WritesSince(size_t from) {
        std::vector<std::vector<uint8_t>> out;
        const auto& j = SimJournal();
        for (size_t i = from; i < j.size(); ++i)
            if (j[i].write) out.push_back(j[i].bytes);
        return out;
    }
    static std::vector<uint8_t> CommandsSince(size_t from) {
        std::vector<uint8_t> out;
        for (const auto& w : WritesSince(from)) out.push_back(w[0]);
        return out;
    }
};
