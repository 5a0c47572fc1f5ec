#pragma once
// The application object: opens the kit's connections, runs the main
// property sheet, and closes them again.
#include "framework/app.h"
#include "save/save_journal.h"
#include "sys/kit.h"

class ZorvikApp : public CWinApp {
public:
    ZorvikApp();
    ~ZorvikApp() override;

    BOOL InitInstance() override;

    // The hot-swap driver, the service control manager and the controller
    // library, handed to the sheet for the whole run.
    CKit m_kit;
    // Where every save is recorded before it changes anything.
    CSaveJournal m_journal;
};
