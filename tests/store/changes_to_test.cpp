// What a file's state of some keys changes: a list key comes to hold exactly
// the file's values, a scalar key loses only those of the utility's own
// values that the file lacks, names compare without regard to case, and a
// key the file does not name is left alone.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "store/parameter_store.h"
#include "support/registry_sandbox.h"

namespace {
// "+", "~" or "-", then key path and value name.
std::set<std::string> Shown(const CChangeList& changes) {
    std::set<std::string> shown;
    for (const CValueChange& change : changes)
        shown.insert((change.bDelete   ? "- "
                      : change.bHadOld ? "~ "
                                       : "+ ") +
                     std::string(ParameterKeyPath(change.key)) + "\\" +
                     change.value.m_strName.str());
    return shown;
}
} // namespace

TEST(ChangesTo, ListKeysTakeTheFileWholeScalarKeysKeepOtherProgramsValues) {
    RegistrySandbox registry;
    const char* quarnel = ParameterKeyPath(KEY_QUARNEL);
    const char* slots = ParameterKeyPath(KEY_PHYSICAL_SLOTS);
    const char* vardek = ParameterKeyPath(KEY_VARDEK);
    WriteDword(HKEY_LOCAL_MACHINE, quarnel, "StallInterval", 500);
    WriteDword(HKEY_LOCAL_MACHINE, quarnel, "NoScanForSurpriseRemoval", 1);
    WriteText(HKEY_LOCAL_MACHINE, quarnel, "Other", "kept");
    WriteText(HKEY_LOCAL_MACHINE, quarnel, "Retired", "deleted by name");
    WriteText(HKEY_LOCAL_MACHINE, slots, "1", "191008");
    WriteText(HKEY_LOCAL_MACHINE, slots, "2", "1008");
    WriteDword(HKEY_LOCAL_MACHINE, vardek, "SuppressLedControl", 1);

    CParameterStore store;
    ASSERT_TRUE(store.ReadBase());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ParameterKeyPath(KEY_MORAVIK)));
    CKeyState parameters, slotList;
    parameters.key = KEY_QUARNEL;
    parameters.values = {DwordValue("stallINTERVAL", 500),
                         DwordValue("DisconnectRetryInterval", 7)};
    parameters.removed = {"RETIRED", "NeverThere"};
    slotList.key = KEY_PHYSICAL_SLOTS;
    slotList.values = {StringValue("1", "191008"), StringValue("3", "1808")};

    std::set<std::string> expected = {
        "+ " + std::string(quarnel) + "\\DisconnectRetryInterval",
        "- " + std::string(quarnel) + "\\NoScanForSurpriseRemoval",
        "- " + std::string(quarnel) + "\\Retired",
        "+ " + std::string(slots) + "\\3",
        "- " + std::string(slots) + "\\2",
    };
    EXPECT_EQ(Shown(store.ChangesTo({parameters, slotList})), expected);
    EXPECT_TRUE(store.ChangesTo({}).empty());

    // A value of another type or other bytes is a change of the value.
    parameters.values = {StringValue("StallInterval", "500")};
    parameters.removed.clear();
    CChangeList changes = store.ChangesTo({parameters});
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_TRUE(changes[0].bHadOld);
    EXPECT_EQ(changes[0].oldValue.m_dwType, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(changes[0].value.m_dwType, static_cast<DWORD>(REG_SZ));
    EXPECT_TRUE(changes[1].bDelete);
    EXPECT_EQ(changes[1].value.m_strName, "NoScanForSurpriseRemoval");
}
