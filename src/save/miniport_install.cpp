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
// that is not the same is replaced only when the user says so.
enum class FileCopy { Done, LeftByUser, Failed };
FileCopy CopyMiniportFile(const CMiniportRecord& record) {
    const char* name = record.m_strServiceName;
    CString directory = DriversDirectory();
    switch (CheckFileCopy(record.m_strFile, directory)) {
    case FileCopyCheck::SameFile:
    case FileCopyCheck::Identical:
        return FileCopy::Done;
    case FileCopyCheck::Missing:
        break;
    case FileCopyCheck::Different:
    case FileCopyCheck::Unreadable:
        if (AfxFormatMessageBox(MB_ICONQUESTION | MB_YESNO, IDS_REPLACE_DRIVER_FILE,
                                static_cast<const char*>(directory), FileNameOf(record.m_strFile),
                                static_cast<const char*>(record.m_strFile), name) != IDYES)
            return FileCopy::LeftByUser;
        break;
    }
    if (int error = CopyFileInto(record.m_strFile, directory)) {
        AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_MINIPORT_NOT_COPIED,
                            static_cast<const char*>(record.m_strFile), name,
                            static_cast<const char*>(directory), error);
        return FileCopy::Failed;
    }
    return FileCopy::Done;
}

// False when a step failed (it has been told): the record stays to be
// installed.
bool InstallMiniport(const CMiniportRecord& record, CServiceControl& services) {
    const char* name = record.m_strServiceName;
    bool bCopied = true;
    if (record.m_bCopyFile) {
        if (record.m_strFile.GetLength() > kMaxCopiedPath) {
            AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_MINIPORT_PATH_TOO_LONG, name,
                                kMaxCopiedPath);
            return false;
        }
        FileCopy copy = CopyMiniportFile(record);
        if (copy == FileCopy::LeftByUser)
            return true;
        bCopied = copy == FileCopy::Done;
    }
    // Without a file there is nothing to make a service of: a miniport
    // known only by its restriction keeps the service installed elsewhere.
    CString fileName = FileNameOf(record.m_strFile);
    if (fileName.TrimLeft().TrimRight().IsEmpty())
        return bCopied;
    if (std::strcmp(record.m_strFile, GetServiceImagePath(name)) == 0 &&
        std::strcmp(record.m_strDescription, GetServiceDisplayName(name)) == 0)
        return bCopied;
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
    return bCopied && error == 0;
}
} // namespace

bool InstallMiniports(CMiniportList& miniports, CServiceControl& services) {
    bool bAll = true;
    for (POSITION pos = miniports.GetHeadPosition(); pos;) {
        CMiniportRecord& record = miniports.GetNext(pos);
        if (!record.m_bInstall)
            continue;
        // A record stored without a service name (the page refuses one) is
        // kept as stored; there is no service to install.
        if (!record.NamesService() || InstallMiniport(record, services))
            record.m_bInstall = 0;
        else
            bAll = false;
    }
    return bAll;
}
