// Keeping finished series that log.dat refused (a full disk, no access) and storing them when it takes them.
#include "app/unarchived_series.h"

#include <atomic>
#include <cstring>
#include <deque>
#include <mutex>

#include "app/resource_ids.h"
#include "link/device_state.h"
#include "app/ended_series.h"
#include "platform/clock.h"
#include "platform/file_errors.h"
#include "platform/threads.h"
#include "platform/ui.h"
#include "results/archive.h"
#include "results/archive_versions.h"

namespace {

constexpr uint32_t kAppenderWaitMs = 10;

std::string RetryPeriodText() { return std::to_string(kArchiveRetryPeriodMs / 1000) + " секунд"; }

platform::Mutex g_lock;
// Under g_lock: the series in the order they ended, the cause of the last
// failure, when the last try was, and what the quiet line shows.
std::deque<TestRecord> g_kept;
uint32_t g_cause = 0;
uint32_t g_lastTry = 0;
std::string g_shown;
// One appender at a time keeps the kept series in order; the
// user-interface thread never waits for it, it tries again later.
std::atomic<bool> g_appending{false};

void ShowState() {
    std::string line;
    {
        std::lock_guard<platform::Mutex> guard(g_lock);
        line = UnarchivedLineText(g_kept.size(), g_cause);
        if (line == g_shown) return;
        g_shown = line;
    }
    ui::SetText(ui::Window::Main, IDC_ARCHIVE_STATE, line.c_str());
    // The line may be cut in a narrow window; the tip says it whole.
    const std::string tip = line + ".\nПрограмма повторяет запись в архив каждые " + RetryPeriodText() +
                            ". Щелкните здесь, чтобы повторить сейчас.";
    ui::SetToolTip(ui::Window::Main, IDC_ARCHIVE_STATE, line.empty() ? "" : tip.c_str());
    // The archive's line stands in the database's place while it has something to say.
    ui::ShowControl(ui::Window::Main, IDC_ARCHIVE_STATE, !line.empty());
    ui::ShowControl(ui::Window::Main, IDC_DATABASE_STATE, line.empty());
}

// Stores the kept series oldest first, stopping at the first that fails
// (a later one must not overtake it). The caller holds g_appending.
bool AppendKept(bool patiently) {
    for (;;) {
        TestRecord record;
        {
            std::lock_guard<platform::Mutex> guard(g_lock);
            if (g_kept.empty()) return true;
            record = g_kept.front();
        }
        uint32_t error = 0;
        const bool stored = patiently ? ArchiveAppendPatiently(record, &error) : ArchiveAppendOnce(record, &error);
        {
            std::lock_guard<platform::Mutex> guard(g_lock);
            g_lastTry = platform::TickCount();
            if (!stored) {
                g_cause = error;
                return false;
            }
            g_kept.pop_front();
        }
        SeriesArchived(record);
    }
}

}  // namespace

bool ArchiveFinishedSeries(TestRecord& record) {
    record.crc = ArchiveRecordCrc(record);
    while (g_appending.exchange(true)) platform::Wait(kAppenderWaitMs);
    {
        std::lock_guard<platform::Mutex> guard(g_lock);
        g_kept.push_back(record);
    }
    const bool stored = AppendKept(true);
    uint32_t cause = 0;
    {
        std::lock_guard<platform::Mutex> guard(g_lock);
        cause = g_cause;
    }
    g_appending = false;
    ShowState();
    if (stored) return true;
    const bool deviceMemory = g_deviceState.protocolGeneration == 2;
    ui::PostMessageBox(ui::Window::Main, UnarchivedBoxText(cause, deviceMemory).c_str(), "Ошибка!", ui::kIconError);
    return false;
}

void RetryUnarchivedSeries(bool now) {
    {
        std::lock_guard<platform::Mutex> guard(g_lock);
        if (g_kept.empty()) return;
        if (!now && platform::TickCount() - g_lastTry < kArchiveRetryPeriodMs) return;
    }
    if (g_appending.exchange(true)) return;
    AppendKept(false);
    g_appending = false;
    ShowState();
}

bool TakeTextsIntoKeptSeries(const TestRecord& record) {
    std::lock_guard<platform::Mutex> guard(g_lock);
    for (TestRecord& kept : g_kept) {
        if (!SameSeries(kept, record)) continue;
        std::memcpy(kept.protocolText, record.protocolText, sizeof kept.protocolText);
        kept.crc = ArchiveRecordCrc(kept);
        return true;
    }
    return false;
}

size_t UnarchivedSeriesCount() {
    std::lock_guard<platform::Mutex> guard(g_lock);
    return g_kept.size();
}

bool MayCloseWithUnarchivedSeries() {
    RetryUnarchivedSeries(true);
    const size_t count = UnarchivedSeriesCount();
    if (count == 0) return true;
    return ui::MessageBox(ui::Window::Main, UnarchivedCloseQuestion(count).c_str(), "Внимание!",
                          ui::kYesNo | ui::kIconWarning | ui::kDefaultSecond) == ui::kAnswerYes;
}

void ResetUnarchivedSeries() {
    std::lock_guard<platform::Mutex> guard(g_lock);
    g_kept.clear();
    g_cause = 0;
    g_lastTry = 0;
    g_shown.clear();
}

std::string UnarchivedLineText(size_t count, uint32_t systemError) {
    if (count == 0) return std::string();
    const std::string cause = platform::FileErrorCause(systemError);
    if (count == 1) return "Серия не сохранена в архиве: " + cause;
    return "Серии не сохранены в архиве (" + std::to_string(count) + "): " + cause;
}

std::string UnarchivedBoxText(uint32_t systemError, bool deviceMemory) {
    std::string text = "Результаты испытания не удалось сохранить в архиве (файл log.dat): " +
                       platform::FileErrorCause(systemError) +
                       ".\n\nСерия хранится в программе: запись в архив повторяется каждые " + RetryPeriodText() +
                       " и перед следующей серией, а щелчок по строке «Серия не сохранена в архиве» под кнопками "
                       "повторяет ее сразу. Протокол этого испытания можно по-прежнему напечатать или сохранить.";
    if (deviceMemory)
        return text +
               "\n\nЕсли программа будет закрыта раньше, серию можно взять из памяти прибора: «Файл» — "
               "«Просмотр результатов проведенных испытаний, сохраненных в приборе», выделить серию и нажать "
               "«В архив» (тексты протокола при этом не переносятся).";
    return text + "\n\nНе закрывайте программу, пока серия не сохранена: этот прибор не передает сохраненные "
                  "в нем результаты.";
}

std::string UnarchivedCloseQuestion(size_t count) {
    if (count == 1) return "Последняя серия не сохранена в архиве. Выйти?";
    return "Последние серии (" + std::to_string(count) + ") не сохранены в архиве. Выйти?";
}
