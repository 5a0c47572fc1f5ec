// Prints how many parameter updates the stand-in hot-swap driver has been
// asked for since it started, for tests/cli/run; exits 1 when it cannot be
// asked.
#include <cstdio>

#include "support/testbed_quarnel_client.h"

int main() {
    QuarnelTestbed quarnel;
    TESTBED_QUARNEL_STATS stats = {};
    if (!quarnel.ReadStats(&stats))
        return 1;
    std::printf("%u\n", static_cast<unsigned>(stats.UpdateCount));
    return 0;
}
