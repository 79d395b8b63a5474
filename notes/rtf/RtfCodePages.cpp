#include "notes/rtf/RtfCodePages.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace qn::rtf {
namespace {

constexpr char16_t Replacement = 0xFFFD;
constexpr int LeadCount = 0xFE - 0x81 + 1;   // GBK lead bytes 0x81..0xFE
constexpr int TrailCount = 0xFE - 0x40 + 1;  // trail bytes 0x40..0xFE

// Both directions of GBK, built once from the system converter so that every
// pair we write is one the converter reads back as the same character.
struct GbkTables {
    std::array<char16_t, LeadCount * TrailCount> pairs{};  // 0: no character
    std::array<char16_t, 128> singles{};                   // bytes 0x80..0xFF
    std::array<uint16_t, 0x10000> encode{};
};

// Decodes many short byte sequences in one go: each is followed by '\n',
// which never occurs inside a GBK or 1252 character, so the output splits
// back into one piece per sequence. Returns the single character of each
// piece, 0 where the piece is not exactly one character.
std::vector<char16_t> DecodeEach(const char* codec, const QByteArray& joined, qsizetype count)
{
    std::vector<char16_t> result;
    QStringDecoder decoder(codec);
    if (!decoder.isValid())
        return result;
    const QString text = decoder.decode(joined);
    result.reserve(count);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\n')
            continue;
        const qsizetype len = i - start;
        const char16_t c = len == 1 ? text[start].unicode() : 0;
        result.push_back(c == Replacement ? 0 : c);
        start = i + 1;
    }
    if (qsizetype(result.size()) != count)
        result.clear();  // out of step: use no table rather than a wrong one
    return result;
}

std::unique_ptr<GbkTables> BuildGbk()
{
    auto t = std::make_unique<GbkTables>();
    QByteArray joined;
    joined.reserve(LeadCount * TrailCount * 3);
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            joined += char(lead);
            joined += char(trail);
            joined += '\n';
        }
    const auto pairs = DecodeEach("GBK", joined, LeadCount * TrailCount);
    if (!pairs.empty())
        std::copy(pairs.begin(), pairs.end(), t->pairs.begin());

    QByteArray singleBytes;
    for (int b = 0x80; b <= 0xFF; ++b) {
        singleBytes += char(b);
        singleBytes += '\n';
    }
    const auto singles = DecodeEach("GBK", singleBytes, 128);
    if (!singles.empty())
        std::copy(singles.begin(), singles.end(), t->singles.begin());

    // The encoder is the decoder turned round, so that whatever we write
    // reads back as the same character. Where two byte forms decode to one
    // character, the single byte (0x80 for the euro sign) or else the first
    // pair is written.
    for (int b = 0x80; b <= 0xFF; ++b) {
        const char16_t c = t->singles[b - 0x80];
        if (c >= 0x80 && !QChar::isSurrogate(c) && t->encode[c] == 0)
            t->encode[c] = uint16_t(b);
    }
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const char16_t c = t->pairs[(lead - 0x81) * TrailCount + (trail - 0x40)];
            if (c >= 0x80 && !QChar::isSurrogate(c) && t->encode[c] == 0)
                t->encode[c] = uint16_t(lead << 8 | trail);
        }
    return t;
}

const GbkTables& Gbk()
{
    static const std::unique_ptr<GbkTables> tables = BuildGbk();
    return *tables;
}

const std::array<char16_t, 128>& Western()
{
    static const std::array<char16_t, 128> table = [] {
        std::array<char16_t, 128> t{};
        QByteArray bytes;
        for (int b = 0x80; b <= 0xFF; ++b) {
            bytes += char(b);
            bytes += '\n';
        }
        const auto decoded = DecodeEach("windows-1252", bytes, 128);
        for (int i = 0; i < 128; ++i)
            t[i] = decoded.empty() ? char16_t(0x80 + i) : decoded[i];
        return t;
    }();
    return table;
}

const char* CodecName(int codePage)
{
    switch (codePage) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 874: return "windows-874";
    case 932: return "windows-932";
    case 949: return "windows-949";
    case 950: return "windows-950";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 10000: return "macintosh";
    case 54936: return "GB18030";
    case 65001: return "UTF-8";
    default: return nullptr;
    }
}

void DecodeGbk(const uint8_t* p, qsizetype size, QString& out)
{
    const GbkTables& t = Gbk();
    const qsizetype used = out.size();
    out.resize(used + size);  // never more characters than bytes
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data());
    char16_t* d = begin + used;
    qsizetype i = 0;
    while (i < size) {
        const uint8_t b = p[i];
        if (b < 0x80) {
            *d++ = b;
            ++i;
        } else if (b >= 0x81 && b <= 0xFE && i + 1 < size && p[i + 1] >= 0x40 && p[i + 1] <= 0xFE) {
            const char16_t c = t.pairs[(b - 0x81) * TrailCount + (p[i + 1] - 0x40)];
            *d++ = c ? c : Replacement;
            i += 2;
        } else {
            const char16_t c = t.singles[b - 0x80];
            *d++ = c ? c : Replacement;
            ++i;
        }
    }
    out.resize(d - begin);
}

void DecodeWestern(const uint8_t* p, qsizetype size, QString& out)
{
    const auto& table = Western();
    const qsizetype used = out.size();
    out.resize(used + size);
    char16_t* d = reinterpret_cast<char16_t*>(out.data()) + used;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = p[i] < 0x80 ? p[i] : table[p[i] - 0x80];
        d[i] = c || p[i] == 0 ? c : Replacement;
    }
}

}  // namespace

int CodePageOfCharset(int charset, int documentCodePage)
{
    switch (charset) {
    case 0: return WesternCodePage;
    case 2: return WesternCodePage;  // symbol fonts: keep the bytes as they are
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return GbkCodePage;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return documentCodePage;
    }
}

int DefaultCharsetOfFamily(const QString& family)
{
    if (family.isEmpty())
        return 134;
    for (QChar c : family)
        if (c.unicode() >= 0x80)
            return 134;
    static const char* const chinese[] = {"simsun", "nsimsun",      "simhei",   "microsoft yahei", "microsoft yahei ui",
                                          "kaiti",  "kaiti_gb2312", "fangsong", "fangsong_gb2312", "dengxian",
                                          "stsong", "stheiti",      "stkaiti",  "stfangsong",      "stxihei",
                                          "lisu",   "youyuan"};
    const QString lower = family.toLower();
    for (const char* name : chinese)
        if (lower == QLatin1String(name))
            return 134;
    if (lower.contains(QLatin1String("cjk")) || lower.contains(QLatin1String("gb2312")))
        return 134;
    return 0;
}

uint16_t GbkEncode(char16_t c) { return Gbk().encode[c]; }

const uint16_t* GbkEncodeTable() { return Gbk().encode.data(); }

uint8_t WesternEncode(char16_t c)
{
    if (c < 0x80)
        return 0;
    const auto& table = Western();
    if (c >= 0xA0 && c <= 0xFF && table[c - 0x80] == c)
        return uint8_t(c);
    for (int i = 0; i < 0x20; ++i)
        if (table[i] == c)
            return uint8_t(0x80 + i);
    return 0;
}

void DecodeBytes(int codePage, const char* data, qsizetype size, QString& out)
{
    const auto* p = reinterpret_cast<const uint8_t*>(data);
    if (codePage == GbkCodePage) {
        DecodeGbk(p, size, out);
        return;
    }
    if (codePage == WesternCodePage) {
        DecodeWestern(p, size, out);
        return;
    }
    const char* name = CodecName(codePage);
    QStringDecoder decoder(name ? name : "");
    if (!name || !decoder.isValid()) {
        DecodeWestern(p, size, out);
        return;
    }
    out += decoder.decode(QByteArrayView(data, size));
}

}  // namespace qn::rtf
