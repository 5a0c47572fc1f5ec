// Prints how many parameter updates the stand-in hot-swap driver has been
// asked for since it started, for tests/cli/run; with "refuse" or "accept"
// it first makes the driver fail or take the updates that follow. Exits 1
// when the driver cannot be reached.
#include <cstdio>
#include <cstring>

#include "support/testbed_quarnel_client.h"

int main(int argc, char** argv) {
    QuarnelTestbed quarnel;
    if (argc > 1 && !quarnel.SetRefuseUpdates(std::strcmp(argv[1], "refuse") == 0))
        return 1;
    TESTBED_QUARNEL_STATS stats = {};
    if (!quarnel.ReadStats(&stats))
        return 1;
    std::printf("%u\n", static_cast<unsigned>(stats.UpdateCount));
    return 0;
}
