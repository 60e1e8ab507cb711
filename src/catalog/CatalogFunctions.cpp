#include "catalog/CatalogFunctions.h"

#include <sqlite3.h>

#include <string_view>

#include "catalog/FoldingTrigramTokenizer.h"
#include "catalog/TextMatch.h"

namespace vt {

namespace {

std::string_view textArgument(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return {text ? text : "", size_t(sqlite3_value_bytes(value))};
}

void deletePattern(void* pattern) {
    delete static_cast<LikePattern*>(pattern);
}

// like(pattern, text): what "text LIKE pattern" calls.
void likeFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    // The pattern is the same for every row of a statement: fold it once and keep it with the statement.
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(context, 0));
    if (!pattern) {
        pattern = new LikePattern(textArgument(argv[0]));
        sqlite3_set_auxdata(context, 0, pattern, deletePattern);
        // set_auxdata may have freed it already when it cannot keep it; fetch it back to be safe.
        auto* kept = static_cast<LikePattern*>(sqlite3_get_auxdata(context, 0));
        if (!kept) {
            LikePattern once(textArgument(argv[0]));
            sqlite3_result_int(context, once.matches(textArgument(argv[1])) ? 1 : 0);
            return;
        }
        pattern = kept;
    }
    sqlite3_result_int(context, pattern->matches(textArgument(argv[1])) ? 1 : 0);
}

}  // namespace

void registerCatalogFunctions(sqlite3* db) {
    sqlite3_create_function(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunction, nullptr,
                            nullptr);
    FoldingTrigramTokenizer::registerWith(db);
}

}  // namespace vt
