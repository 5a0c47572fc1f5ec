#pragma once
// The application object of the test programs and the kit it hands down,
// as the utility's own: the tests open the driver and the service control
// manager where they need them; the controller library is loaded.
#include <string>

#include "app/zorvik_app.h"

ZorvikApp& TestApp();
// The save journal's folder of this test program, and removing a folder
// with all it holds.
std::string TestJournalFolder();
void RemoveFolder(const std::string& folder);
inline CKit& TestKit() { return TestApp().m_kit; }
