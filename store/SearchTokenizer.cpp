#include "store/SearchTokenizer.h"

#include "store/SearchText.h"

#include <QString>

#include <sqlite3.h>

#include <algorithm>
#include <vector>

namespace qn {
namespace {

int Utf8Length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

int PutUtf8(char32_t c, char* out)
{
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (c >> 12));
        out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

struct Character {
    char32_t folded;
    int start;  // byte offset in the text (the text as decoded and encoded again)
    int end;
};

// The text's characters, decoded exactly as the notes are read elsewhere
// (a broken UTF-8 sequence becomes U+FFFD), folded for search.
std::vector<Character> Characters(const char* text, int size)
{
    const QString decoded = QString::fromUtf8(text, size);
    std::vector<Character> characters;
    characters.reserve(static_cast<size_t>(decoded.size()));
    int offset = 0;
    for (qsizetype i = 0; i < decoded.size();) {
        char32_t c = decoded[i].unicode();
        qsizetype units = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < decoded.size() && decoded[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(decoded[i], decoded[i + 1]);
            units = 2;
        }
        const int length = Utf8Length(c);
        // Offsets only serve highlighting; they stay inside the text.
        const int start = std::min(offset, size);
        offset += length;
        // A NUL would end the token where FTS5 reads it as a C string.
        characters.push_back({c == 0 ? char32_t(0xFFFD) : FoldForSearch(c), start, std::min(offset, size)});
        i += units;
    }
    return characters;
}

using TokenCallback = int (*)(void*, int, const char*, int, int, int);

int Tokenize(Fts5Tokenizer*, void* context, int flags, const char* text, int size, TokenCallback token)
{
    if (!text || size <= 0)
        return SQLITE_OK;
    const std::vector<Character> characters = Characters(text, size);
    const bool query = (flags & FTS5_TOKENIZE_QUERY) != 0;
    char buffer[8];
    const size_t count = characters.size();
    if (query && count >= 2) {
        for (size_t i = 0; i + 1 < count; ++i) {
            int length = PutUtf8(characters[i].folded, buffer);
            length += PutUtf8(characters[i + 1].folded, buffer + length);
            if (const int rc = token(context, 0, buffer, length, characters[i].start, characters[i + 1].end);
                rc != SQLITE_OK)
                return rc;
        }
        return SQLITE_OK;
    }
    for (size_t i = 0; i < count; ++i) {
        int length = PutUtf8(characters[i].folded, buffer);
        if (const int rc = token(context, 0, buffer, length, characters[i].start, characters[i].end); rc != SQLITE_OK)
            return rc;
        if (query || i + 1 == count)
            continue;
        length += PutUtf8(characters[i + 1].folded, buffer + length);
        if (const int rc =
                token(context, FTS5_TOKEN_COLOCATED, buffer, length, characters[i].start, characters[i + 1].end);
            rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}

// The tokenizer keeps no state: every instance is this one object.
int Create(void*, const char**, int, Fts5Tokenizer** out)
{
    static int instance = 0;
    *out = reinterpret_cast<Fts5Tokenizer*>(&instance);
    return SQLITE_OK;
}

void Delete(Fts5Tokenizer*) { }

fts5_api* Fts5Api(sqlite3* db)
{
    fts5_api* api = nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT fts5(?1)", -1, &statement, nullptr) != SQLITE_OK)
        return nullptr;
    sqlite3_bind_pointer(statement, 1, &api, "fts5_api_ptr", nullptr);
    sqlite3_step(statement);
    sqlite3_finalize(statement);
    return api;
}

}  // namespace

bool RegisterSearchTokenizer(sqlite3* db)
{
    if (!db)
        return false;
    fts5_api* api = Fts5Api(db);
    if (!api || api->iVersion < 2)
        return false;
    static fts5_tokenizer tokenizer = {Create, Delete, Tokenize};
    return api->xCreateTokenizer(api, kSearchTokenizerName, nullptr, &tokenizer, nullptr) == SQLITE_OK;
}

}  // namespace qn
