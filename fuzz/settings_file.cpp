// The settings store's key files as other programs, editors and crashes may leave them: any
// text either reads or is an error, and what reads is written back to the same values.
#include "settings/RegFile.h"
#include "settings/SettingsKey.h"

#include <cstdlib>
#include <string_view>

namespace {

bool sameValues(const std::vector<RegValue>& a, const std::vector<RegValue>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].type != b[i].type || a[i].text != b[i].text)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<RegValue> values;
    try {
        values = parseRegFile(text);
    } catch (const RegistryError&) {
        return 0;
    }
    const std::string written = formatRegFile("\\SOFTWARE\\QARVO\\TOLMA\\Fuzz", values);
    try {
        if (!sameValues(parseRegFile(written), values))
            std::abort(); // a value changed on its way through the file
    } catch (const RegistryError&) {
        std::abort(); // the program's own file did not read back
    }
    return 0;
}
