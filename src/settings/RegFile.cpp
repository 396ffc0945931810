#include "RegFile.h"

#include "SettingsKey.h"
#include "result/Utf16.h"

#include <algorithm>
#include <charconv>

namespace {

[[noreturn]] void corrupt(std::string_view line) {
    throw RegistryError("unreadable settings line: " + std::string(line.substr(0, 60)));
}

// Reads a "quoted" text with \" and \\ escapes at text[pos]; pos ends after the quote. Only
// UTF-8 text without NUL reads.
std::string readQuoted(std::string_view line, std::size_t& pos) {
    if (pos >= line.size() || line[pos] != '"')
        corrupt(line);
    std::string out;
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') {
            ++pos;
            // Text the program could not write back as it stands is no value of its own.
            if (!isValidUtf8(out) || out.find('\0') != std::string::npos)
                corrupt(line);
            return out;
        }
        if (c == '\\') {
            if (++pos >= line.size())
                corrupt(line);
            c = line[pos];
        }
        out += c;
    }
    corrupt(line);
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

// hex bytes "41,00,42,00,00,00" as UTF-16LE text up to its first zero character.
std::string utf16HexToUtf8(std::string_view line, std::string_view hex) {
    std::u16string units;
    unsigned low = 0;
    bool haveLow = false;
    for (std::size_t pos = 0; pos < hex.size();) {
        const std::size_t comma = hex.find(',', pos);
        const std::string_view byteText = hex.substr(pos, comma - pos);
        unsigned byte = 0;
        const auto [end, error] =
            std::from_chars(byteText.data(), byteText.data() + byteText.size(), byte, 16);
        if (error != std::errc() || end != byteText.data() + byteText.size() || byte > 0xFF)
            corrupt(line);
        if (haveLow)
            units += static_cast<char16_t>(low | (byte << 8));
        else
            low = byte;
        haveLow = !haveLow;
        pos = comma == std::string_view::npos ? hex.size() : comma + 1;
    }
    std::string out;
    appendUtf16AsUtf8(units.data(), std::min(units.find(u'\0'), units.size()), out);
    return out;
}

bool hasControlCharacter(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 32 || c == 127)
            return true;
    return false;
}

// UTF-16LE bytes of the text with its terminating zero, as "41,00,00,00".
std::string utf8ToHexString(std::string_view text) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    std::u16string units = utf8ToUtf16(text);
    units += u'\0';
    for (char16_t unit : units)
        for (unsigned byte : {unit & 0xFFu, unsigned(unit) >> 8}) {
            if (!out.empty())
                out += ',';
            out += kDigits[byte >> 4];
            out += kDigits[byte & 0xF];
        }
    return out;
}

} // namespace

std::vector<RegValue> parseRegFile(std::string_view text) {
    std::vector<RegValue> values;
    bool sawHeader = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (line.front() == '[') {
            if (sawHeader || line.back() != ']')
                corrupt(line);
            sawHeader = true;
            continue;
        }
        std::size_t pos = 0;
        RegValue value;
        value.name = readQuoted(line, pos);
        if (pos >= line.size() || line[pos] != '=')
            corrupt(line);
        const std::string_view data = line.substr(pos + 1);
        if (data.starts_with("\"")) {
            std::size_t dataPos = pos + 1;
            value.text = readQuoted(line, dataPos);
            if (dataPos != line.size())
                corrupt(line);
        } else if (data.starts_with("hex(2):") || data.starts_with("hex(1):")) {
            value.type = data[4] == '2' ? RegValue::Type::ExpandString : RegValue::Type::String;
            value.text = utf16HexToUtf8(line, data.substr(7));
        } else if ((data.starts_with("dword:") || data.starts_with("hex")) &&
                   !hasControlCharacter(data)) {
            value.type = RegValue::Type::Other;
            value.text = std::string(data);
        } else {
            corrupt(line);
        }
        values.push_back(std::move(value));
    }
    return values;
}

std::string formatRegFile(std::string_view keyPath, const std::vector<RegValue>& values) {
    std::string out = "[HKEY_LOCAL_MACHINE" + std::string(keyPath) + "]\n";
    for (const RegValue& value : values) {
        out += quoted(value.name) + "=";
        if (value.type == RegValue::Type::Other)
            out += value.text;
        else if (value.type == RegValue::Type::ExpandString || hasControlCharacter(value.text))
            out += std::string(value.type == RegValue::Type::ExpandString ? "hex(2):" : "hex(1):") +
                   utf8ToHexString(value.text);
        else
            out += quoted(value.text);
        out += '\n';
    }
    return out;
}
