// One prepared statement of a suite database's backend, as SqlStatement
// drives it. Texts cross this interface as UTF-8, as both backends keep them.
// A failure of preparing or binding is reported by the next Step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com_types.h"

namespace qx {

// The kinds of value a column holds.
enum class SqlType { kNull, kInteger, kText, kBlob };

class SqlCursor {
 public:
  virtual ~SqlCursor() = default;

  // Parameters are numbered from 1; one never bound is null. A null of a
  // kind (not kNull) tells PostgreSQL the parameter's type where the
  // statement does not.
  virtual void BindNull(int index, SqlType kind) = 0;
  virtual void BindInt(int index, int64_t value) = 0;
  virtual void BindText(int index, std::string_view utf8) = 0;
  virtual void BindBlob(int index, const void* data, size_t size) = 0;

  // One row: *row is true when a row is ready, false at the end.
  virtual HRESULT Step(bool* row) = 0;

  // Columns of the current row, numbered from 0.
  virtual int Columns() const = 0;
  virtual SqlType Type(int column) const = 0;
  virtual int64_t Int(int column) const = 0;
  virtual std::string_view Text(int column) const = 0;
  virtual std::string Blob(int column) const = 0;

  // For the connection's statement cache: whether the text prepared (one
  // that did not is never kept), and forgetting parameters and rows for the
  // next borrower.
  virtual bool Prepared() const = 0;
  virtual void Reset() = 0;
  bool inUse = false;
  // Set while the texts and blobs bound stay in place until the next Reset:
  // the backend may then bind them without a copy.
  bool boundBytesKept = false;
};

}  // namespace qx
