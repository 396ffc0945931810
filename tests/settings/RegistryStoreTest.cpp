// The settings store against a real registry (Wine's, in the Windows build's test prefix).
// The stored connection is kept aside and put back around each test.
#include "settings/DBLinkInfo.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <sddl.h>

#include <string>

namespace {

const wchar_t* const kKey = L"SOFTWARE\\QARVO\\TOLMA\\DBLinkInfo";
const ConnectionSettings kStored{"erp-db,1433", "erp_2026", "sa", "secret"};

// The key as the ERP's 32-bit programs see it.
HKEY openKey(REGSAM access) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, access | KEY_WOW64_32KEY, nullptr,
                    &key, nullptr);
    return key;
}

void setValue(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    const HKEY key = openKey(KEY_WRITE);
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes);
    RegCloseKey(key);
}

// Who may do what with the key, as SDDL.
bool setRights(const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return false;
    const HKEY key = openKey(WRITE_DAC);
    const bool set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    RegCloseKey(key);
    LocalFree(descriptor);
    return set;
}

class RegistryStore : public testing::Test {
protected:
    void SetUp() override {
        readDBLinkInfo(kept_);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kKey, KEY_WOW64_32KEY, 0);
    }
    void TearDown() override {
        setRights(L"D:(A;;KA;;;WD)");
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kKey, KEY_WOW64_32KEY, 0);
        writeDBLinkInfo(kept_);
    }
    ConnectionSettings kept_;
};

} // namespace

TEST_F(RegistryStore, ValuesAreStringsOfTheKeyInThe32BitViewAndReadBackExactly) {
    const ConnectionSettings values{"服务器\\实例", "库 \"一\"", "sa;x=}", "p\tw\\d"};
    ASSERT_TRUE(writeDBLinkInfo(values));
    ConnectionSettings read;
    EXPECT_TRUE(readDBLinkInfo(read));
    EXPECT_EQ(read, values);

    // Seen from the 64-bit view, where a 64-bit program would otherwise have put it.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\WOW6432Node\\QARVO\\TOLMA\\DBLinkInfo",
                            0, KEY_READ | KEY_WOW64_64KEY, &key),
              ERROR_SUCCESS);
    wchar_t text[64] = {};
    DWORD bytes = sizeof text;
    DWORD type = 0;
    EXPECT_EQ(
        RegQueryValueExW(key, L"dbserver", nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes),
        ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::wstring(text), L"服务器\\实例");
}

TEST_F(RegistryStore, AValueOfAnotherTypeStopsTheTransferThere) {
    ASSERT_TRUE(writeDBLinkInfo({"srv", "db", "sa", "pw"}));
    const DWORD number = 12;
    setValue(L"dbdatabase", REG_DWORD, &number, sizeof number);
    ConnectionSettings loaded;
    EXPECT_FALSE(loadDBLinkInfo(loaded)); // the user is read before the database
    EXPECT_EQ(loaded, (ConnectionSettings{"", "", "sa", ""}));
}

TEST_F(RegistryStore, ExpandableStringsReadAsTextUpToTheirFirstZero) {
    const wchar_t value[] = L"A中\0B";
    setValue(L"dbuser", REG_EXPAND_SZ, value, sizeof value);
    ConnectionSettings loaded;
    EXPECT_TRUE(loadDBLinkInfo(loaded));
    EXPECT_EQ(loaded.user, "A中");
}

TEST_F(RegistryStore, WithoutTheRightToWriteTheStoredValuesAreReadAndKept) {
    ASSERT_TRUE(writeDBLinkInfo(kStored));
    // Everyone may read the key, nobody may set its values or make keys under it.
    ASSERT_TRUE(setRights(L"D:(D;;0x6;;;WD)(A;;KA;;;WD)"));
    ConnectionSettings loaded;
    EXPECT_TRUE(loadDBLinkInfo(loaded));
    EXPECT_EQ(loaded, kStored);
    EXPECT_TRUE(writeDBLinkInfo({"s", "d", "u", "p"}));
    ConnectionSettings after;
    EXPECT_TRUE(readDBLinkInfo(after));
    EXPECT_EQ(after, kStored);
}
