// The save journal: a save ended after one of its steps, finished, given up
// or left for later as the user answers at the next start, with what another
// program changed meanwhile kept; a driver that refuses its update, and one
// that is not there; one save at a time; records only administrators could
// have written.
#include "support/sheet_fixture.h"

#include <aclapi.h>
#include <sddl.h>

#include <atomic>
#include <thread>

#include "save/journal_security.h"
#include "save/save_sequence.h"
#include "sheet/pending_saves.h"
#include "sheet/sheet_save_report.h"
#include "support/driver_connection.h"
#include "support/scratch_service.h"
#include "support/testbed_moravik_client.h"
#include "sys/driver_files.h"

namespace {
DWORD Dword(const char* name) {
    DWORD value = 0xBAD;
    ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, name, &value);
    return value;
}

// Notes each value the save writes in the trace the journal's files go to.
struct TracingWriter : CValueWriter {
    explicit TracingWriter(std::string& trace) : trace(trace) {}
    LONG SetValue(HKEY hKey, const CRegistryValue& value) override {
        trace += "set " + value.m_strName.str() + "\n";
        return CValueWriter::SetValue(hKey, value);
    }
    std::string& trace;
};

class JournalTest : public DriverConnection, public SheetTest {
protected:
    JournalTest() { TestKit().m_services.Open(nullptr); }
    ~JournalTest() override {
        quarnel.Reset();
        TestKit().m_services.Close();
    }
    CSaveJournal& Journal() { return TestApp().m_journal; }
    CSaveJournal::CEntry Newest() {
        std::vector<CSaveJournal::CEntry> entries = Journal().Records();
        return entries.empty() ? CSaveJournal::CEntry() : entries[0];
    }
    // The question the program asks at start, answered.
    void AtStart(std::initializer_list<int> answers) {
        m_responder.asked.clear();
        for (int answer : answers)
            m_responder.Answer(answer);
        CSheetSaveReport report;
        CSaveSequence sequence(TestKit(), Journal(), report);
        OfferToFinishPendingSaves(sequence);
    }
    DWORD Updates() {
        TESTBED_QUARNEL_STATS stats = {};
        EXPECT_TRUE(quarnel.ReadStats(&stats));
        return stats.UpdateCount;
    }
    DWORD MoravikStarts() {
        DWORD starts = 0;
        m_registry.WithRealRegistry([&] { starts = ReadMoravikStartCount(); });
        return starts;
    }
    CMoravikStateKeeper m_keeper;
};
} // namespace

TEST_F(JournalTest, ASaveEndedAfterAStepIsFinishedGivenUpOrLeftAsAnsweredAtTheNextStart) {
    ASSERT_TRUE(opened);
    ASSERT_TRUE(StartTestbedService("moravik"));
    ScratchService miniport(UniqueServiceName("MirandelJournal"));
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", 500);
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", 20000);
    DWORD updates = Updates(), starts = MoravikStarts();

    // Ended after its first step, the miniport's install.
    ZorvikSheet& first = Build();
    first.m_MiniList.m_miniports.AddTail(
        {"", miniport.Name(), "C:\\drivers\\journal.sys", "Journal", 0, 1});
    first.m_Misc.m_dwPollingRate = 600;
    first.m_Misc.m_dwDisconnectTimeout = 30000;
    first.m_nStopSaveAfter = 0;
    EXPECT_FALSE(first.SaveParameters());
    EXPECT_EQ("Journal", QueryServiceConfigOf(miniport.Name()).displayName);
    EXPECT_EQ(500u, Dword("StallInterval"));
    // Another program changes a value the save is still to write: finishing
    // leaves it, and does every step left.
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", 25000);
    AtStart({IDYES, IDOK});
    ASSERT_EQ(AskedIds(m_responder), "4076 4075");
    const std::string& question = m_responder.asked[0].text;
    EXPECT_EQ(std::string::npos, question.find("install")) << question;
    EXPECT_PRED_FORMAT2(testing::IsSubstring,
                        "- restart the system board service\n"
                        "- tell the hot-swap driver to take up its parameters\n",
                        question);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "\\DisconnectRetryInterval\n",
                        m_responder.asked[1].text);
    EXPECT_EQ(600u, Dword("StallInterval"));
    EXPECT_EQ(25000u, Dword("DisconnectRetryInterval"));
    EXPECT_EQ(starts + 1, MoravikStarts());
    EXPECT_EQ(updates + 1, Updates());
    EXPECT_EQ(SaveRecordState::Complete, Newest().record.state);

    // Ended after its values, which were written once the record and the
    // keys' content before were on disk: No gives it up.
    std::string trace;
    Journal().m_trace = [&](const char* step, const CString& path) {
        trace += std::string(step) + " " + FileNameOf(path) + "\n";
    };
    TracingWriter writer(trace);
    ZorvikSheet& second = Build();
    second.m_store.SetWriter(&writer);
    second.m_Misc.m_dwPollingRate = 700;
    second.m_nStopSaveAfter = 0;
    EXPECT_FALSE(second.SaveParameters());
    Journal().m_trace = nullptr;
    const std::string id = Newest().record.id;
    EXPECT_EQ("write " + id + ".reg.new\nflush " + id + ".reg.new\nrename " + id +
                  ".reg.new\nwrite " + id + ".save.new\nflush " + id + ".save.new\nrename " + id +
                  ".save.new\nset StallInterval\n",
              trace);
    AtStart({IDNO});
    EXPECT_EQ(SaveRecordState::Discarded, Newest().record.state);
    EXPECT_EQ(700u, Dword("StallInterval"));
    EXPECT_EQ(starts + 1, MoravikStarts());

    // Ended after the service's restart: Cancel asks again next time, and
    // then the driver is told, the service not restarted again.
    ZorvikSheet& third = Build();
    third.m_Misc.m_dwPollingRate = 800;
    third.m_nStopSaveAfter = 1;
    EXPECT_FALSE(third.SaveParameters());
    EXPECT_EQ(starts + 2, MoravikStarts());
    AtStart({IDCANCEL});
    EXPECT_EQ(SaveRecordState::Incomplete, Newest().record.state);
    AtStart({IDYES});
    EXPECT_EQ(std::string::npos, m_responder.asked.at(0).text.find("restart"));
    EXPECT_EQ(SaveRecordState::Complete, Newest().record.state);
    EXPECT_EQ(updates + 2, Updates());
    EXPECT_EQ(starts + 2, MoravikStarts());

    // Ended after telling the driver: only the controller is left.
    ZorvikSheet& fourth = Build();
    fourth.m_Misc.m_dwPollingRate = 900;
    fourth.m_nStopSaveAfter = 2;
    EXPECT_FALSE(fourth.SaveParameters());
    EXPECT_EQ(updates + 3, Updates());
    AtStart({IDYES});
    EXPECT_PRED_FORMAT2(testing::IsSubstring,
                        "Still to do:\n- tell the hot-swap controller to take up its parameters\n",
                        m_responder.asked.at(0).text);
    EXPECT_EQ(SaveRecordState::Complete, Newest().record.state);
    EXPECT_EQ(updates + 3, Updates());
    EXPECT_EQ(starts + 3, MoravikStarts());
    EXPECT_EQ(m_responder.m_unexpected, 0);
}

TEST_F(JournalTest, ARefusedUpdateStaysToDoOneSaveRunsAtATimeAndOnlyAdministratorsRecordsCount) {
    ASSERT_TRUE(opened);
    ASSERT_TRUE(StopTestbedService("moravik"));
    ZorvikSheet& sheet = Build();
    DWORD updates = Updates();
    // A driver that refuses its update: the values are saved, the step is
    // still to do until the driver takes it.
    ASSERT_TRUE(quarnel.SetRefuseUpdates(true));
    sheet.m_Misc.m_dwPollingRate = 600;
    m_responder.Answer(IDOK);
    EXPECT_TRUE(sheet.SaveParameters());
    EXPECT_EQ(600u, Dword("StallInterval"));
    EXPECT_EQ(SaveRecordState::Incomplete, Newest().record.state);
    AtStart({IDYES, IDOK});
    EXPECT_EQ(AskedIds(m_responder), "4076 4003");
    const CSaveRecord refused = Newest().record;
    EXPECT_EQ(SaveRecordState::Incomplete, refused.state);
    // A later save that completes covers it: it is superseded.
    ASSERT_TRUE(quarnel.SetRefuseUpdates(false));
    sheet.m_Misc.m_dwPollingRate = 650;
    EXPECT_TRUE(sheet.SaveParameters());
    std::vector<CSaveJournal::CEntry> records = Journal().Records();
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ(SaveRecordState::Complete, records[0].record.state);
    EXPECT_EQ(refused.id, records[1].record.id);
    EXPECT_EQ(SaveRecordState::Superseded, records[1].record.state);
    EXPECT_EQ(records[0].record.id, records[1].record.supersededBy);
    // Each attempt asked the driver once.
    EXPECT_EQ(updates + 3, Updates());

    // While another save holds the lock, a save waits, then refuses and
    // writes nothing; one that ends in time lets it go on.
    HANDLE taken = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<DWORD> releaseAt(::GetTickCount() + 60000);
    std::thread other([&] {
        CSaveLock lock;
        lock.Acquire(0);
        ::SetEvent(taken);
        while (static_cast<LONG>(releaseAt - ::GetTickCount()) > 0)
            ::Sleep(50);
    });
    ::WaitForSingleObject(taken, 5000);
    sheet.m_dwSaveWaitMs = 300;
    sheet.m_Misc.m_dwPollingRate = 800;
    m_responder.asked.clear();
    m_responder.Answer(IDOK);
    EXPECT_FALSE(sheet.SaveParameters());
    EXPECT_EQ(AskedIds(m_responder), "4072");
    EXPECT_EQ(650u, Dword("StallInterval"));
    releaseAt = ::GetTickCount() + 500;
    sheet.m_dwSaveWaitMs = 10000;
    EXPECT_TRUE(sheet.SaveParameters());
    other.join();
    ::CloseHandle(taken);
    EXPECT_EQ(800u, Dword("StallInterval"));

    // Only a record that nobody but administrators could have written is
    // acted on.
    EXPECT_STREQ("O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", JOURNAL_SDDL);
    const std::pair<const char*, bool> descriptors[] = {
        {JOURNAL_SDDL, true},
        {"O:SYD:(A;;FA;;;SY)(A;;0x1200a9;;;BU)(D;;FA;;;WD)", true},
        {"O:BAD:(A;OICIIO;FA;;;BU)(A;;FA;;;BA)", true},
        {"O:BUD:(A;;FA;;;SY)", false},
        {"O:BAD:(A;;FA;;;BA)(A;;FW;;;BU)", false},
        {"O:BAD:(A;;SD;;;WD)", false},
        {"O:BA", false}};
    for (const auto& descriptor : descriptors) {
        PSECURITY_DESCRIPTOR pDescriptor = nullptr;
        ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA(
            descriptor.first, SDDL_REVISION_1, &pDescriptor, nullptr))
            << descriptor.first;
        EXPECT_EQ(descriptor.second, IsAdministratorsOnly(pDescriptor)) << descriptor.first;
        ::LocalFree(pDescriptor);
    }
    ASSERT_TRUE(quarnel.SetRefuseUpdates(true));
    m_responder.Answer(IDOK);
    EXPECT_TRUE(sheet.SaveParameters());
    EXPECT_TRUE(Newest().bTrusted);
    ASSERT_TRUE(quarnel.SetRefuseUpdates(false));
    PSECURITY_DESCRIPTOR pOpen = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA(
        "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;WD)", SDDL_REVISION_1, &pOpen, nullptr));
    BOOL bPresent = FALSE, bDefaulted = FALSE;
    PACL pDacl = nullptr;
    ::GetSecurityDescriptorDacl(pOpen, &bPresent, &pDacl, &bDefaulted);
    ASSERT_EQ(DWORD(ERROR_SUCCESS),
              ::SetNamedSecurityInfoA(
                  const_cast<char*>(static_cast<const char*>(Journal().Folder())), SE_FILE_OBJECT,
                  DACL_SECURITY_INFORMATION, nullptr, nullptr, pDacl, nullptr));
    ::LocalFree(pOpen);
    updates = Updates();
    AtStart({IDOK});
    EXPECT_EQ(AskedIds(m_responder), "4077");
    EXPECT_FALSE(Newest().bTrusted);
    EXPECT_EQ(SaveRecordState::Incomplete, Newest().record.state);
    EXPECT_EQ(updates, Updates());

    // Without the driver's interface there is no one to tell: the save
    // completes.
    TestKit().m_driver.Close();
    sheet.m_Misc.m_dwPollingRate = 900;
    EXPECT_TRUE(sheet.SaveParameters());
    EXPECT_EQ(SaveRecordState::Complete, Newest().record.state);
}
