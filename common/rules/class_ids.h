// The class ids of the two handlers, written once: the registry text is the source, and
// the numbers of the binary form are read out of it at compile time. No Win32 here.
#pragma once
#include <cstdint>

#define KELMORA_CLSID "{5D0C2A71-3B8E-4F19-A6C2-7E41B09D3F58}"
#define ORVID_CLSID "{A83F6E12-94C7-4B2D-8E05-1C6D72F4B9A0}"
inline constexpr char kKelmoraClassId[] = KELMORA_CLSID;
inline constexpr char kOrvidClassId[] = ORVID_CLSID;

// The fields of a class id, as the platform's GUID holds them.
struct ClassIdNumbers {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
};

namespace class_id_detail {

constexpr unsigned HexDigit(char c)
{
    return c >= '0' && c <= '9' ? static_cast<unsigned>(c - '0')
           : c >= 'A' && c <= 'F' ? static_cast<unsigned>(c - 'A' + 10)
           : c >= 'a' && c <= 'f' ? static_cast<unsigned>(c - 'a' + 10)
                                  : throw "not a hexadecimal digit";
}

constexpr std::uint32_t Hex(const char* text, int at, int digits)
{
    std::uint32_t value = 0;
    for (int i = 0; i < digits; ++i) value = value * 16 + HexDigit(text[at + i]);
    return value;
}

}  // namespace class_id_detail

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" to its numbers; a text of another shape does
// not compile.
constexpr ClassIdNumbers ParseClassId(const char (&text)[39])
{
    using class_id_detail::Hex;
    if (text[0] != '{' || text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-' || text[37] != '}')
        throw "not a class id";
    ClassIdNumbers id{Hex(text, 1, 8), static_cast<std::uint16_t>(Hex(text, 10, 4)),
                      static_cast<std::uint16_t>(Hex(text, 15, 4)), {}};
    id.data4[0] = static_cast<std::uint8_t>(Hex(text, 20, 2));
    id.data4[1] = static_cast<std::uint8_t>(Hex(text, 22, 2));
    for (int i = 0; i < 6; ++i) id.data4[2 + i] = static_cast<std::uint8_t>(Hex(text, 25 + 2 * i, 2));
    return id;
}
