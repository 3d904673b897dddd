#pragma once

// The framework's exception classes. As in the framework they stand in for, they are thrown
// by pointer and the handler releases them:
//
//   try { file.Write(data, size); }
//   catch (CFileException* e) { int cause = e->m_cause; e->Delete(); ... }
class CException {
 public:
  CException() = default;
  CException(const CException&) = default;
  CException& operator=(const CException&) = default;
  virtual ~CException() = default;

  // Releases an exception that was thrown with new.
  void Delete() { delete this; }
};

// Memory could not be allocated.
class CMemoryException : public CException {};

// A call received an argument it does not accept (a null name, for instance).
class CInvalidArgException : public CException {};
