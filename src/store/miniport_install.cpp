#include "store/miniport_install.h"

#include <windows.h>

#include <cstring>

#include "framework/message_box.h"
#include "res/resource.h"
#include "sys/driver_files.h"
#include "sys/service_control.h"

namespace {
const DWORD kRecreatePauseMs = 1000;
// The shell takes the file to copy in a MAX_PATH buffer that also holds the
// list's two terminators.
const int kMaxCopiedPath = MAX_PATH - 2;

// Copies the record's file into the drivers directory. A file of that name
// that is not the same is replaced only when the user says so; false when
// it stays, and the miniport is then left as it is.
bool CopyMiniportFile(const CMiniportRecord& record) {
    const char* name = record.m_strServiceName;
    CString directory = DriversDirectory();
    switch (CheckFileCopy(record.m_strFile, directory)) {
    case FileCopyCheck::SameFile:
    case FileCopyCheck::Identical:
        return true;
    case FileCopyCheck::Missing:
        break;
    case FileCopyCheck::Different:
    case FileCopyCheck::Unreadable:
        if (AfxFormatMessageBox(MB_ICONQUESTION | MB_YESNO, IDS_REPLACE_DRIVER_FILE,
                                static_cast<const char*>(directory), FileNameOf(record.m_strFile),
                                static_cast<const char*>(record.m_strFile), name) != IDYES)
            return false;
        break;
    }
    if (int error = CopyFileInto(record.m_strFile, directory))
        AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_MINIPORT_NOT_COPIED,
                            static_cast<const char*>(record.m_strFile), name,
                            static_cast<const char*>(directory), error);
    return true;
}

void InstallMiniport(const CMiniportRecord& record, CServiceControl& services) {
    const char* name = record.m_strServiceName;
    if (record.m_bCopyFile) {
        if (record.m_strFile.GetLength() > kMaxCopiedPath) {
            AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_MINIPORT_PATH_TOO_LONG, name,
                                kMaxCopiedPath);
            return;
        }
        if (!CopyMiniportFile(record))
            return;
    }
    if (std::strcmp(record.m_strFile, GetServiceImagePath(name)) == 0 &&
        std::strcmp(record.m_strDescription, GetServiceDisplayName(name)) == 0)
        return;
    // The service gets the relative form wherever the file came from.
    CString imagePath = CString("System32\\drivers\\") + FileNameOf(record.m_strFile);
    services.Delete(name);
    ::Sleep(kRecreatePauseMs);
    DWORD error = services.CreateKernelDriver(name, imagePath, record.m_strDescription,
                                              SERVICE_DISABLED, nullptr);
    if (error)
        AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_MINIPORT_NOT_INSTALLED, name,
                            static_cast<unsigned long>(error),
                            static_cast<const char*>(GetErrorText(error)));
}
} // namespace

void InstallMiniports(const CMiniportList& miniports, CServiceControl& services) {
    for (POSITION pos = miniports.GetHeadPosition(); pos;) {
        const CMiniportRecord& record = miniports.GetNext(pos);
        // A record stored without a service name (the page refuses one) is
        // kept as stored; there is no service to install.
        if (record.NamesService())
            InstallMiniport(record, services);
    }
}
