#include "save/miniport_install.h"

#include <windows.h>

#include <cstring>

#include "save/save_report.h"
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
FileCopy CopyMiniportFile(const CMiniportRecord& record, ISaveReport& report) {
    CString directory = DriversDirectory();
    switch (CheckFileCopy(record.m_strFile, directory)) {
    case FileCopyCheck::SameFile:
    case FileCopyCheck::Identical:
        return FileCopy::Done;
    case FileCopyCheck::Missing:
        break;
    case FileCopyCheck::Different:
    case FileCopyCheck::Unreadable:
        if (!report.ReplaceDriverFile(record, directory))
            return FileCopy::LeftByUser;
        break;
    }
    if (int error = CopyFileInto(record.m_strFile, directory)) {
        report.MiniportNotCopied(record, directory, error);
        return FileCopy::Failed;
    }
    return FileCopy::Done;
}
} // namespace

bool InstallMiniport(const CMiniportRecord& record, CServiceControl& services,
                     ISaveReport& report) {
    if (!record.NamesService())
        return true;
    const char* name = record.m_strServiceName;
    bool bCopied = true;
    if (record.m_bCopyFile) {
        if (record.m_strFile.GetLength() > kMaxCopiedPath) {
            report.MiniportPathTooLong(record, kMaxCopiedPath);
            return false;
        }
        FileCopy copy = CopyMiniportFile(record, report);
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
        report.MiniportNotInstalled(record, error);
    return bCopied && error == 0;
}
