// The connection's prepared statements: a save logs several rows, and
// preparing their INSERT each time cost more than running it.
#include "outside/database/suite_database.h"

namespace qx {

SqlCursor* SuiteDatabase::Borrow(const char* sql) {
  const auto found = statements_.find(std::string_view(sql));
  if (found != statements_.end() && !found->second->inUse) {
    found->second->inUse = true;
    return found->second.get();
  }
  const bool keep = found == statements_.end() && statements_.size() < kMaxCachedStatements;
  std::unique_ptr<SqlCursor> cursor = NewCursor(sql, keep);
  // A failed or empty statement is not kept: the next borrower prepares it
  // again and sees the same failure.
  if (!keep || !cursor->Prepared()) return cursor.release();
  cursor->inUse = true;
  return statements_.emplace(sql, std::move(cursor)).first->second.get();
}

void SuiteDatabase::GiveBack(SqlCursor* cursor) {
  for (auto& entry : statements_) {
    if (entry.second.get() == cursor) {
      cursor->Reset();
      cursor->inUse = false;
      return;
    }
  }
  delete cursor;
}

HRESULT SuiteDatabase::HandOut(std::shared_ptr<SuiteDatabase> opened, HRESULT hr,
                               std::shared_ptr<SuiteDatabase>* db, std::string* message) {
  if (FAILED(hr)) {
    *message = opened->message();
    return hr;
  }
  message->clear();
  *db = std::move(opened);
  return hr;
}

}  // namespace qx
