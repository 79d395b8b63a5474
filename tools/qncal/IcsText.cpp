#include "tools/qncal/IcsText.h"

namespace qncal {

std::string IcsEscapedText(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\': escaped += "\\\\"; break;
        case ';': escaped += "\\;"; break;
        case ',': escaped += "\\,"; break;
        case '\n': escaped += "\\n"; break;
        case '\r': break;
        default: escaped += c;
        }
    }
    return escaped;
}

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

void AppendIcsLine(std::string& out, std::string_view name, std::string_view value)
{
    std::string line;
    line.reserve(name.size() + 1 + value.size());
    line += name;
    line += ':';
    line += value;

    std::string_view rest = line;
    std::size_t room = IcsLineOctets;  // the first line has no leading space
    while (rest.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && IsContinuationByte(rest[cut]))
            --cut;
        out.append(rest.substr(0, cut));
        out += "\r\n ";
        rest.remove_prefix(cut);
        room = IcsLineOctets - 1;
    }
    out.append(rest);
    out += "\r\n";
}

}  // namespace qncal
