// The connection's prepared statements: a save logs several rows, and
// preparing their INSERT each time cost more than running it.
#include <sqlite3.h>

#include "outside/suite_database.h"

namespace qx {

sqlite3_stmt* SuiteDatabase::Borrow(const char* sql, int* result) {
  sqlite3_stmt* stmt = nullptr;
  const auto found = statements_.find(std::string_view(sql));
  if (found != statements_.end()) {
    if (!found->second.inUse) {
      found->second.inUse = true;
      *result = SQLITE_OK;
      return found->second.stmt;
    }
    *result = sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr);
    return stmt;
  }
  if (statements_.size() >= kMaxCachedStatements) {
    *result = sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr);
    return stmt;
  }
  *result = sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
  // A failed or empty statement is not kept: the next borrower prepares it again
  // and sees the same failure.
  if (*result == SQLITE_OK && stmt != nullptr) statements_.emplace(sql, Cached{stmt, true});
  return stmt;
}

void SuiteDatabase::GiveBack(sqlite3_stmt* stmt) {
  if (stmt == nullptr) return;
  for (auto& entry : statements_) {
    if (entry.second.stmt == stmt) {
      sqlite3_reset(stmt);
      sqlite3_clear_bindings(stmt);
      entry.second.inUse = false;
      return;
    }
  }
  sqlite3_finalize(stmt);
}

}  // namespace qx
