// The link worker on a real thread of its own while another thread reads
// what the windows read; built to be run under ThreadSanitizer.
#include <atomic>
#include <thread>
#include <vector>

#include "tests/unit/link/sim_link_fixture.h"

namespace {

const std::vector<uint16_t> kSix = {452, 470, 501, 483, 469, 495};

class ThreadedLinkTest : public SimLinkFixture, public ::testing::WithParamInterface<const char*> {};

// What the user-interface and picture threads take from the worker while a
// series runs: the state atomics, the record copied under its lock (it must
// never mix two answers), and the settings and version the dialogs show.
struct UiSideReader {
    std::atomic<bool>* workerDone;
    std::atomic<bool>* running;
    int copies = 0;
    int mixedCopies = 0;
    int highestCount = 0;
    int tornSettings = 0;
    bool sawMeasuring = false;

    void operator()() {
        TestRecord copy;
        *running = true;
        while (!workerDone->load()) {
            if (DeviceMeasuring()) sawMeasuring = true;
            (void)g_deviceState.connected.load();
            (void)g_deviceState.protocolGeneration.load();
            CopyCurrentRecord(&copy);
            const DeviceSettings settings = CopyCurrentSettings();
            const bool none = settings.countAndLift == 0 && settings.maxVoltage == 0;
            if (!none && (MeasurementCount(settings) != 6 || settings.maxVoltage != 1000)) ++tornSettings;
            char version[sizeof g_deviceState.deviceVersion];
            CopyDeviceVersion(version, sizeof version);
            ++copies;
            const int count = copy.valueCount;
            if (count > 6) ++mixedCopies;
            for (int i = 0; i < count && i < 6; ++i)
                if (copy.breakdownVoltage[i] != kSix[i]) ++mixedCopies;
            if (count > highestCount) highestCount = count;
            std::this_thread::yield();
        }
    }
};

TEST_P(ThreadedLinkTest, SeriesRunsWhileAnotherThreadReadsStateAndRecord) {
    {
        SimConfig config = Config(GetParam());
        config.preTestDelay = false;
        config.voltages = kSix;
        Start(config);
        fake::PostToWorker(0x42);

        // The worker waits for the reader, so the two really overlap.
        std::atomic<bool> workerDone{false}, readerRunning{false};
        bool printingUnlocked = false;
        std::thread worker([&] {
            while (!readerRunning) std::this_thread::yield();
            for (int i = 0; i < 3000 && !printingUnlocked; ++i) {
                if (!LinkWorkerIteration()) break;
                printingUnlocked = CountOf("Enable", ui::Window::Main, 172, 1) != 0;
            }
            workerDone = true;
        });
        UiSideReader reader{&workerDone, &readerRunning};
        std::thread ui(std::ref(reader));
        worker.join();
        ui.join();

        EXPECT_TRUE(printingUnlocked);
        EXPECT_GT(reader.copies, 0);
        EXPECT_EQ(reader.mixedCopies, 0);
        EXPECT_EQ(reader.tornSettings, 0);
        EXPECT_EQ(g_currentRecord.valueCount, 6);
        EXPECT_EQ(g_currentRecord.meanVoltage, 478);
    }
}

INSTANTIATE_TEST_SUITE_P(BothGenerations, ThreadedLinkTest, ::testing::Values("ORLA-K200V2", "ORLA-K200V"));

}  // namespace
