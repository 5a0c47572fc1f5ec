// windows.h comes first: it renames LoadString to LoadStringA, and every
// Windows source that calls the member sees the same name.
#include <windows.h>

#include "framework/app.h"
#include "framework/cstring.h"

bool CString::LoadString(unsigned int nID) {
    // LoadStringA truncates to the buffer rather than overrunning it.
    char buffer[1024];
    int n = ::LoadStringA(AfxGetResourceHandle(), nID, buffer, sizeof(buffer));
    *this = n > 0 ? buffer : "";
    return n > 0;
}
