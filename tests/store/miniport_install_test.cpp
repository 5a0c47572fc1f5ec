// Installing the miniports against the real service manager and shell: a
// service whose entry matches its record is left alone, any other is deleted
// and created anew as a disabled kernel driver with the relative image path;
// files are copied when asked; what fails is told, and the rest goes on.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "res/resource.h"
#include "store/miniport_install.h"
#include "sys/service_control.h"
#include "support/scratch_service.h"
#include "support/scripted_responder.h"

namespace {
CMiniportRecord Record(const std::string& service, const std::string& file, const char* description,
                       int copy = 0) {
    CMiniportRecord record;
    record.m_strServiceName = service;
    record.m_strFile = file;
    record.m_strDescription = description;
    record.m_bCopyFile = copy;
    return record;
}

std::string DriversDir() {
    char system[MAX_PATH];
    ::GetSystemDirectoryA(system, sizeof(system));
    return std::string(system) + "\\drivers";
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

DWORD FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.nFileSizeLow;
}

// A small driver file of a fresh name in the temporary folder.
struct SourceFile {
    explicit SourceFile(const std::string& fileName) {
        char temp[MAX_PATH];
        ::GetTempPathA(sizeof(temp), temp);
        path = std::string(temp) + fileName;
        copied = DriversDir() + "\\" + fileName;
        ::DeleteFileA(copied.c_str());
        HANDLE h =
            ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ::WriteFile(h, "MZ-sample", 9, nullptr, nullptr);
        ::CloseHandle(h);
    }
    ~SourceFile() {
        ::DeleteFileA(path.c_str());
        ::DeleteFileA(copied.c_str());
    }
    std::string path, copied;
};

class MiniportInstallTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0u, m_services.Open(nullptr)); }

    // Milliseconds the install took.
    DWORD Install() {
        DWORD start = ::GetTickCount();
        InstallMiniports(m_miniports, m_services);
        return ::GetTickCount() - start;
    }

    ScriptedResponder m_responder;
    CServiceControl m_services;
    CMiniportList m_miniports;
};
} // namespace

TEST_F(MiniportInstallTest, ServiceMatchingItsRecordIsLeftAlone) {
    std::string name = UniqueServiceName("MirandelKept");
    std::string image = "System32\\drivers\\" + name + ".sys";
    ScratchService service(name, image, "Kept miniport");
    service.Mark();
    m_miniports.AddTail(Record(name, image, "Kept miniport"));
    EXPECT_LT(Install(), 1000u);
    EXPECT_TRUE(service.IsMarked());
    EXPECT_TRUE(m_responder.asked.empty());
}

TEST_F(MiniportInstallTest,
       ChangedServiceIsCreatedAnewDisabledWithTheRelativePathAndTheFileCopied) {
    std::string name = UniqueServiceName("MirandelChanged");
    SourceFile file(name + ".sys");
    ScratchService service(name, "System32\\drivers\\" + name + ".sys", "Old description");
    service.Mark();
    // The chosen file is a full path, so its text differs from any image path.
    m_miniports.AddTail(Record(name, file.path, "New description", 1));
    EXPECT_GE(Install(), 1000u);

    EXPECT_FALSE(service.IsMarked());
    ServiceConfig config = QueryServiceConfigOf(name);
    ASSERT_TRUE(config.exists);
    EXPECT_EQ(DWORD(SERVICE_KERNEL_DRIVER), config.type);
    EXPECT_EQ(DWORD(SERVICE_DISABLED), config.startType);
    EXPECT_EQ("System32\\drivers\\" + name + ".sys", config.imagePath);
    EXPECT_EQ("New description", config.displayName);
    EXPECT_TRUE(FileExists(file.copied));
    EXPECT_TRUE(m_responder.asked.empty());

    // A second save finds the same file in place and asks no one.
    service.Mark();
    Install();
    EXPECT_FALSE(service.IsMarked());
    EXPECT_TRUE(m_responder.asked.empty());

    // Another file of that name is replaced only when the user says so;
    // with No, the file and the service stay as they are.
    HANDLE h =
        ::CreateFileA(file.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::WriteFile(h, "MZ-newer", 8, nullptr, nullptr);
    ::CloseHandle(h);
    service.Mark();
    m_responder.Answer(IDNO);
    Install();
    ASSERT_EQ(1u, m_responder.asked.size());
    const AskedMessage& question = m_responder.asked[0];
    EXPECT_EQ(UINT(MB_ICONQUESTION | MB_YESNO), question.type);
    EXPECT_NE(std::string::npos, question.text.find(file.copied.substr(0, file.copied.rfind('\\'))))
        << question.text;
    EXPECT_NE(std::string::npos, question.text.find(file.path)) << question.text;
    EXPECT_TRUE(service.IsMarked());
    EXPECT_EQ(9u, FileSize(file.copied));
    m_responder.Answer(IDYES);
    Install();
    EXPECT_EQ(2u, m_responder.asked.size());
    EXPECT_FALSE(service.IsMarked());
    EXPECT_EQ(8u, FileSize(file.copied));
}

TEST_F(MiniportInstallTest, ServiceThatCannotBeCreatedIsToldAndTheNextIsStillInstalled) {
    std::string held = UniqueServiceName("MirandelHeld"), next = UniqueServiceName("MirandelNext");
    ScratchService heldService(held, "System32\\drivers\\held.sys", "Held");
    ScratchService nextService(next);
    // Someone keeps the service open: deleting it only marks it, and the
    // new one cannot be created.
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE handle = ::OpenServiceA(manager, held.c_str(), SERVICE_QUERY_STATUS);
    ASSERT_NE(nullptr, handle);
    m_miniports.AddTail(Record(held, "C:\\drivers\\held.sys", "Held again"));
    m_miniports.AddTail(Record(next, "C:\\drivers\\next.sys", "Next"));
    m_responder.Answer(IDOK);
    Install();
    ::CloseServiceHandle(handle);
    ::CloseServiceHandle(manager);

    ASSERT_EQ(1u, m_responder.asked.size());
    EXPECT_EQ(UINT(MB_ICONSTOP | MB_OK), m_responder.asked[0].type);
    EXPECT_NE(std::string::npos, m_responder.asked[0].text.find("\"" + held + "\""))
        << m_responder.asked[0].text;
    EXPECT_NE(std::string::npos,
              m_responder.asked[0].text.find(std::to_string(ERROR_SERVICE_MARKED_FOR_DELETE)))
        << m_responder.asked[0].text;
    EXPECT_EQ("System32\\drivers\\next.sys", QueryServiceConfigOf(next).imagePath);
}

TEST_F(MiniportInstallTest, PathTooLongToCopyIsRefusedAndOnlyTheServiceNameIsKeptFromALongText) {
    std::string refused = UniqueServiceName("MirandelLongCopy");
    std::string uncopied = UniqueServiceName("MirandelLongPath");
    ScratchService refusedService(refused, "System32\\drivers\\old.sys", "Old");
    refusedService.Mark();
    ScratchService uncopiedService(uncopied);
    std::string longDir = "C:\\" + std::string(250, 'd') + "\\";
    m_miniports.AddTail(Record(refused, longDir + "copied.sys", "Long", 1));
    m_miniports.AddTail(Record(uncopied, longDir + std::string(600, 'n') + ".sys", "Long"));
    m_responder.Answer(IDOK);
    Install();

    ASSERT_EQ(1u, m_responder.asked.size());
    EXPECT_EQ(UINT(MB_ICONSTOP | MB_OK), m_responder.asked[0].type);
    EXPECT_NE(std::string::npos, m_responder.asked[0].text.find("\"" + refused + "\""));
    EXPECT_NE(std::string::npos, m_responder.asked[0].text.find("258"));
    // Nothing of the refused miniport changed.
    EXPECT_TRUE(refusedService.IsMarked());
    EXPECT_EQ("System32\\drivers\\old.sys", QueryServiceConfigOf(refused).imagePath);
    // Without a copy, a long text only names the file.
    EXPECT_EQ("System32\\drivers\\" + std::string(600, 'n') + ".sys",
              QueryServiceConfigOf(uncopied).imagePath);
}

#include "support/sheet_fixture.h"

namespace {
class MiniportApplyTest : public SheetTest {
protected:
    void SetUp() override { TestKit().m_services.Open(nullptr); }
    void TearDown() override {
        SheetTest::TearDown();
        TestKit().m_services.Close();
    }
};
} // namespace

TEST_F(MiniportApplyTest, ApplyInstallsTheListedMiniportsAndStoresTheirOrderAndRestriction) {
    std::string first = UniqueServiceName("MirandelApplyFirst");
    std::string second = UniqueServiceName("MirandelApplySecond");
    ScratchService firstService(first), secondService(second);
    SourceFile file(first + ".sys");
    HWND sheet = Show();
    SelectPage(sheet, m_sheet->GetPageIndex(&m_sheet->m_MiniList));
    HWND page = m_sheet->m_MiniList.m_hWnd;
    ASSERT_NE(nullptr, page);

    TypeText(page, IDC_MINIPORT_FILE, file.path.c_str());
    Click(page, IDC_MINIPORT_COPY_FILE);
    TypeText(page, IDC_MINIPORT_SERVICE, first.c_str());
    TypeText(page, IDC_MINIPORT_DESCRIPTION, "First miniport");
    TypeText(page, IDC_MINIPORT_RESTRICTIONS, "1008,1808");
    Click(page, IDC_MINIPORT_ADD_UPDATE);
    TypeText(page, IDC_MINIPORT_FILE, "C:\\elsewhere\\second.sys");
    Click(page, IDC_MINIPORT_COPY_FILE);
    TypeText(page, IDC_MINIPORT_SERVICE, second.c_str());
    TypeText(page, IDC_MINIPORT_DESCRIPTION, "Second miniport");
    TypeText(page, IDC_MINIPORT_RESTRICTIONS, "");
    Click(page, IDC_MINIPORT_ADD_UPDATE);
    // Select the second row and move it to the top.
    LVITEMA state = {};
    state.state = state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendDlgItemMessageA(page, IDC_MINIPORT_LIST, LVM_SETITEMSTATE, 1,
                          reinterpret_cast<LPARAM>(&state));
    Click(page, IDC_MINIPORT_MOVE_UP);

    m_responder.Answer(IDYES);
    PressSheetButton(sheet, ID_APPLY_NOW);
    ASSERT_EQ(1u, m_responder.asked.size());
    EXPECT_EQ(UINT(IDS_CONFIRM_UPDATE), m_responder.asked[0].id);
    EXPECT_FALSE(IsApplyEnabled(sheet));

    for (const std::string& name : {first, second}) {
        ServiceConfig config = QueryServiceConfigOf(name);
        EXPECT_EQ(DWORD(SERVICE_KERNEL_DRIVER), config.type) << name;
        EXPECT_EQ(DWORD(SERVICE_DISABLED), config.startType) << name;
    }
    EXPECT_EQ("System32\\drivers\\" + first + ".sys", QueryServiceConfigOf(first).imagePath);
    EXPECT_EQ("First miniport", QueryServiceConfigOf(first).displayName);
    EXPECT_EQ("System32\\drivers\\second.sys", QueryServiceConfigOf(second).imagePath);
    EXPECT_TRUE(FileExists(file.copied));

    StoredValue names = {REG_MULTI_SZ, second + '\0' + first + '\0' + '\0'};
    EXPECT_EQ(names, ReadStoredValues(HKEY_LOCAL_MACHINE, kQuarnelKey)["Miniports"]);
    EXPECT_EQ((StoredValues{{first, Sz("1008,1808")}}),
              ReadStoredValues(HKEY_LOCAL_MACHINE, kRestrictKey));
}
