#include "catalog/FoldingTrigramTokenizer.h"

#include <sqlite3.h>

#include <QString>

#include "catalog/CatalogError.h"
#include "catalog/SqliteFailureCause.h"
#include "catalog/SqliteStatement.h"
#include "catalog/TextMatch.h"

namespace vt {
namespace FoldingTrigramTokenizer {

namespace {

void appendCodePoint(std::string& out, char32_t c) {
    if (isInvalidByte(c)) {
        // 0xFF never occurs in UTF-8, so a stray byte cannot collide with a character.
        out.push_back(char(0xFF));
        out.push_back(char(c & 0xFF));
    } else if (c == 0) {
        // FTS5 keeps terms as C strings while it collects them: a zero byte would cut a term short. The
        // two-byte form of zero is otherwise unused.
        out.push_back(char(0xC0));
        out.push_back(char(0x80));
    } else if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        // The decoder lets through four-byte forms above U+10FFFF; they are encoded the same way.
        out.push_back(char(0xF0 | ((c >> 18) & 0x07)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

void appendTrigram(std::string& out, const char32_t* three) {
    for (int k = 0; k < 3; ++k) appendCodePoint(out, three[k]);
}

// Stands after the last character: 0xFF, then a byte that no stray byte's code can have (stray bytes are
// never ASCII) and that is not zero (see above).
void appendEndMark(std::string& out) {
    out.push_back(char(0xFF));
    out.push_back(char(0x01));
}

// FTS5 makes one instance per index handle; the tokenizer has no settings, so the instance is just the
// (non-null) pointer it was registered with.
int createInstance(void* registered, const char**, int, Fts5Tokenizer** out) {
    *out = static_cast<Fts5Tokenizer*>(registered);
    return SQLITE_OK;
}

void deleteInstance(Fts5Tokenizer*) {}

int tokenize(Fts5Tokenizer*, void* context, int flags, const char* text, int length,
             int (*addToken)(void*, int, const char*, int, int, int)) {
    // Scratch space kept per thread: paths are tokenized row by row, millions of times in a build.
    thread_local std::vector<char32_t> folded;
    thread_local std::vector<int> starts;
    thread_local std::string encoded;
    thread_local std::vector<size_t> offsets;
    thread_local std::string token;
    foldUtf8(std::string_view(text ? text : "", size_t(text ? length : 0)), folded, &starts);
    const size_t n = folded.size();
    if ((flags & FTS5_TOKENIZE_PREFIX) && n == 2) {
        token.clear();
        appendCodePoint(token, folded[0]);
        appendCodePoint(token, folded[1]);
        return addToken(context, 0, token.data(), int(token.size()), 0, length);
    }
    // A token is the encodings of its characters one after another, so each character is encoded once and
    // every trigram is a run of the encoded path.
    encoded.clear();
    offsets.clear();
    for (const char32_t c : folded) {
        offsets.push_back(encoded.size());
        appendCodePoint(encoded, c);
    }
    offsets.push_back(encoded.size());
    for (size_t i = 0; i + 3 <= n; ++i) {
        const int end = i + 3 < n ? starts[i + 3] : length;
        const int rc = addToken(context, 0, encoded.data() + offsets[i], int(offsets[i + 3] - offsets[i]),
                                starts[i], end);
        if (rc != SQLITE_OK) return rc;
    }
    if ((flags & FTS5_TOKENIZE_DOCUMENT) && n >= 2) {
        // The last two characters have no third: without this token a piece of two characters at the very
        // end of a path would begin no token at all.
        token.assign(encoded, offsets[n - 2], std::string::npos);
        appendEndMark(token);
        return addToken(context, 0, token.data(), int(token.size()), starts[n - 2], length);
    }
    return SQLITE_OK;
}

fts5_api* ftsApi(sqlite3* db) {
    fts5_api* api = nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT fts5(?1)", -1, &statement, nullptr) == SQLITE_OK) {
        sqlite3_bind_pointer(statement, 1, &api, "fts5_api_ptr", nullptr);
        sqlite3_step(statement);
    }
    sqlite3_finalize(statement);
    return api;
}

}  // namespace

std::string tokenFor(const char32_t* three) {
    std::string token;
    appendTrigram(token, three);
    return token;
}

std::string prefixFor(const char32_t* two) {
    std::string prefix;
    appendCodePoint(prefix, two[0]);
    appendCodePoint(prefix, two[1]);
    return prefix;
}

void registerWith(sqlite3* db) {
    fts5_api* api = ftsApi(db);
    if (!api) {
        throw CatalogError(QStringLiteral("this SQLite library has no full-text search (FTS5)"));
    }
    fts5_tokenizer methods{createInstance, deleteInstance, tokenize};
    if (api->xCreateTokenizer(api, kName, api, &methods, nullptr) != SQLITE_OK) {
        throw CatalogError(sqliteMessage(db), sqliteFailureCause(db));
    }
}

}  // namespace FoldingTrigramTokenizer
}  // namespace vt
