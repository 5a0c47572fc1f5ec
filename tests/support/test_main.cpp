// Entry of every test program: one application object, as in the utility,
// and GoogleTest.
#include <gtest/gtest.h>

#include <string>

#include "framework/app.h"
#include "support/test_kit.h"

namespace {
ZorvikApp theApp;
}

ZorvikApp& TestApp() { return theApp; }

std::string TestJournalFolder() {
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof(temp), temp);
    return std::string(temp) + "mirandel-journal-" + std::to_string(::GetCurrentProcessId());
}

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(folder + "\\" + name);
            else
                ::DeleteFileA((folder + "\\" + name).c_str());
        } while (::FindNextFileA(hFind, &found));
        ::FindClose(hFind);
    }
    ::RemoveDirectoryA(folder.c_str());
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    AfxEnableControlContainer();
    theApp.m_kit.m_controller.Load();
    // Each test program keeps its save journal to itself.
    theApp.m_journal.SetFolder(TestJournalFolder().c_str());
    int result = RUN_ALL_TESTS();
    RemoveFolder(TestJournalFolder());
    return result;
}
