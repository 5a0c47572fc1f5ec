#include "app/exit_codes.h"
#include "app/file_commands.h"
#include "framework/handle.h"
#include "framework/message_box.h"
#include "store/parameter_store.h"
#include "store/regedit_encoding.h"

namespace {
const char kMachine[] = "HKEY_LOCAL_MACHINE\\";
} // namespace

int ExportKeys(const char* pszPath, CCommandOutput& output) {
    // Every name and byte as stored.
    CParameterStore store(ValueEncoding::Wide);
    if (!store.ReadBase()) {
        output.Err("cannot read the parameter keys\n");
        return EXIT_UNUSABLE;
    }
    CRegFile file;
    int count = 0;
    for (int i = 0; i < KEY_COUNT; ++i) {
        ParameterKey key = static_cast<ParameterKey>(i);
        CRegFileKey fileKey;
        fileKey.path = std::string(kMachine) + ParameterKeyPath(key);
        for (const CRegistryValue& value : store.Base(key).All())
            fileKey.values.push_back(RegFileValueOf(value, ValueEncoding::Wide));
        count += static_cast<int>(fileKey.values.size());
        file.keys.push_back(fileKey);
    }
    std::string bytes = Version5FileBytes(file);
    CFileHandle target(::CreateFileA(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0, error = 0;
    if (!target.IsValid() ||
        !::WriteFile(target, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        error = ::GetLastError();
    else if (written != bytes.size())
        error = ERROR_HANDLE_DISK_FULL;
    if (error != 0) {
        CString text;
        text.Format("cannot write %s: %s\n", pszPath,
                    static_cast<const char*>(GetErrorText(error)));
        output.Err(text);
        return EXIT_UNUSABLE;
    }
    CString done;
    done.Format("%s: %d values of %d keys written\n", pszPath, count, static_cast<int>(KEY_COUNT));
    output.Out(done);
    return EXIT_DONE;
}
