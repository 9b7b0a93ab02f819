#include "settings/RegistryExport.h"

#include <gtest/gtest.h>

#include <QString>
#include <string>
#include <tuple>
#include <vector>

namespace velmor::settings {
namespace {

using Value = std::tuple<std::string, std::string, ExportedType, std::string>;

// What the export gives, as (key, name, type, text).
std::vector<Value> valuesOf(const std::variant<RegistryExport, ExportError>& read) {
    std::vector<Value> values;
    if (const auto* error = std::get_if<ExportError>(&read)) {
        ADD_FAILURE() << "line " << error->line << ": " << error->what;
        return values;
    }
    for (const ExportedValue& v : std::get<RegistryExport>(read).values) {
        values.emplace_back(v.key, v.name, v.type, v.text);
    }
    return values;
}

// The text in UTF-16LE after its byte order mark, as regedit writes it.
std::string utf16le(const std::string& utf8) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : QString::fromStdString(utf8).toStdU16String()) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

const std::string kVelmor = "HKEY_LOCAL_MACHINE\\Software\\Velmor";
constexpr auto kText = ExportedType::Text;
constexpr auto kOther = ExportedType::Other;

TEST(RegistryExport, TheThreeFormsGiveTheSameTexts) {
    // A regedit export of Windows 2000 and later: UTF-16LE, CR LF, any character.
    const std::string regedit5 = utf16le(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Velmor]\r\n"
        "\"Last Game\"=\"Caf\u00e9 \\\"Deluxe\\\" \u20ac.smc\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Velmor\\Paths]\r\n"
        "\"ZSNES Location\"=\"C:\\\\Games\\\\ZSNES\\\\zsnesw.exe\"\r\n"
        "\"Rom Location\"=\"\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Velmor\\Picture Links]\r\n"
        "\"\u65e5\u672c \U0001F3AE.smc\"=\"D:\\\\\u65e5\u672c\\\\a\\\\b.bmp\"\r\n"
        "@=\"\"\r\n");
    // Windows 9x's regedit: code page 1252, in which there is no Japanese.
    const std::string regedit4 =
        "REGEDIT4\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Velmor]\r\n"
        "\"Last Game\"=\"Caf\xe9 \\\"Deluxe\\\" \x80.smc\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Velmor\\Paths]\r\n"
        "\"ZSNES Location\"=\"C:\\\\Games\\\\ZSNES\\\\zsnesw.exe\"\r\n"
        "\"Rom Location\"=\"\"\r\n";
    // A Wine prefix's own file: key names relative to the machine, escapes for all but ASCII.
    const std::string wine =
        "WINE REGISTRY Version 2\n"
        ";; All keys relative to \\\\Machine\n\n#arch=win32\n\n"
        "[Software\\\\Velmor] 1700000000\n#time=1da0c1e2f3a4b5c\n"
        "\"Last Game\"=\"Caf\\xe9 \\\"Deluxe\\\" \\x20ac.smc\"\n\n"
        "[Software\\\\Velmor\\\\Paths] 1700000000\n"
        "\"ZSNES Location\"=\"C:\\\\Games\\\\ZSNES\\\\zsnesw.exe\"\n"
        "\"Rom Location\"=\"\"\n\n"
        "[Software\\\\Velmor\\\\Picture Links] 1700000000\n"
        "\"\\x65e5\\x672c \\xd83c\\xdfae.smc\"=\"D:\\\\\\x65e5\\x672c\\\\a\\\\b.bmp\"\n"
        "@=\"\"\n";

    const std::vector<Value> common{
        {kVelmor, "Last Game", kText, "Caf\u00e9 \"Deluxe\" \u20ac.smc"},
        {kVelmor + "\\Paths", "ZSNES Location", kText, "C:\\Games\\ZSNES\\zsnesw.exe"},
        {kVelmor + "\\Paths", "Rom Location", kText, ""},
    };
    std::vector<Value> withLinks = common;
    withLinks.emplace_back(kVelmor + "\\Picture Links", "\u65e5\u672c \U0001F3AE.smc", kText,
                           "D:\\\u65e5\u672c\\a\\b.bmp");
    withLinks.emplace_back(kVelmor + "\\Picture Links", "", kText, "");

    EXPECT_EQ(valuesOf(readRegistryExport(regedit5)), withLinks);
    EXPECT_EQ(valuesOf(readRegistryExport(regedit4)), common);
    EXPECT_EQ(valuesOf(readRegistryExport(wine)), withLinks);
    EXPECT_EQ(std::get<RegistryExport>(readRegistryExport(wine)).form, ExportForm::WineRegistry);
}

TEST(RegistryExport, OtherTypesAreKnownAndDeletionsCounted) {
    const std::string file =
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Velmor\\Sound]\n"
        "\"Sound Rate\"=dword:0000001\n"
        "\"Blob\"=hex:01,02,ff,\\\n  00,10,\\\n  20\n"
        "\"Expand\"=hex(2):25,00,54,00,00,00 ; a comment\n"
        "; \"Sound Stereo\"=\"commented out\"\n"
        "\"Sound ADSR\"=-\n"
        "\"Path\\\\With \\\"q\\\"\" = \"a\\\\b\\\"c\\d\"\n"
        "[-HKEY_LOCAL_MACHINE\\Software\\Velmor\\Video]\n"
        "\"VSync\"=\"1\"\n"
        "[HKEY_CURRENT_USER\\Software\\Other]\n"
        "@=\"x\"\n";
    const auto read = readRegistryExport(file);
    const std::string sound = kVelmor + "\\Sound";
    EXPECT_EQ(valuesOf(read), (std::vector<Value>{
                                  {sound, "Sound Rate", kOther, ""},
                                  {sound, "Blob", kOther, ""},
                                  {sound, "Expand", kOther, ""},
                                  {sound, "Path\\With \"q\"", kText, "a\\b\"c\\d"},
                                  {"HKEY_CURRENT_USER\\Software\\Other", "", kText, "x"},
                              }));
    // The value deleted, the key deleted, the value under it.
    EXPECT_EQ(std::get<RegistryExport>(read).deletions, 3U);
    EXPECT_EQ(std::get<RegistryExport>(read).values.back().line, 14U);

    const auto wine = readRegistryExport(
        "WINE REGISTRY Version 2\n[Software\\\\Velmor\\\\Options] 1\n"
        "\"CPU Cycles\"=str(2):\"%SystemRoot%\"\n\"Timing\"=hex(7):41,00,\\\n  00,00\n"
        "\"A\\\\B\\x\\101\\t\"=\"\\\\\\\"\"\n");
    EXPECT_EQ(valuesOf(wine), (std::vector<Value>{
                                  {kVelmor + "\\Options", "CPU Cycles", kOther, ""},
                                  {kVelmor + "\\Options", "Timing", kOther, ""},
                                  {kVelmor + "\\Options", "A\\BxA\t", kText, "\\\""},
                              }));
}

TEST(RegistryExport, AFaultIsReportedWithItsLine) {
    const std::string key = "[HKEY_LOCAL_MACHINE\\Software\\Velmor]\r\n";
    const struct {
        std::string bytes;
        std::size_t line;
    } cases[] = {
        {"", 1},
        {"REGEDIT5\r\n" + key, 1},
        {"\xFE\xFFWindows Registry Editor Version 5.00", 1},  // big-endian
        {"REGEDIT4\r\n\"Last Game\"=\"x\"\r\n" + key, 2},
        {"REGEDIT4\r\n" + key + "\"Last Game\"=\"unclosed\r\n", 3},
        {"REGEDIT4\r\n" + key + "\r\n\"Last Game\"\r\n", 4},
        {"REGEDIT4\r\n" + key + "\"Last Game\"=\"x\" y\r\n", 3},
        {"REGEDIT4\r\n" + key + "\"Last Game\"=qword:1\r\n", 3},
        {"REGEDIT4\r\n" + key + "\"Last Game\"=dword:\r\n", 3},
        {"REGEDIT4\r\n" + key + "\"B\"=hex:01,0g\r\n", 3},
        {"REGEDIT4\r\n" + key + "\"B\"=hex:01 02\r\n", 3},
        {"REGEDIT4\r\n" + key + "\"B\"=hex:01,\\\r\n  02,\\\r\n", 4},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\r\n", 2},
        {"REGEDIT4\r\n" + key + "Last Game=x\r\n", 3},
        {"WINE REGISTRY Version 2\n[Software\\\\Velmor] 1 x\n", 2},
        {"WINE REGISTRY Version 2\n\n[Software\\\\Velmor\n", 3},
        {utf16le("Windows Registry Editor Version 5.00\r\n" + key + "\"A\"=\"b\"\r\n") + "x", 4},
        {utf16le("Windows Registry Editor Version 5.00\r\n\r\n" + key + "\"A\"=\"b\r\n"), 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        const auto read = readRegistryExport(c.bytes);
        ASSERT_TRUE(std::holds_alternative<ExportError>(read));
        EXPECT_EQ(std::get<ExportError>(read).line, c.line) << std::get<ExportError>(read).what;
    }
}

}  // namespace
}  // namespace velmor::settings
