#pragma once

#include <cstdint>
#include <string>

#include "platform/file_exception.h"

// A file opened by path, with the framework's open flags and share modes.
//
// Open reports a failure through its result (and the optional exception record); every other
// operation throws CFileException by pointer (see exception.h). Share modes hold between all
// opens of the file, in this process and in others, and end when the file is closed or its
// process ends. File names are matched without regard to case: an existing file is found under
// any spelling of its name, and a create keeps the spelling of an existing file.
//
// A file opened for writing with a share mode that denies other writers keeps its length
// after the first query, and its own writes and SetLength keep it in step: no other opener
// can change it meanwhile.
//
// One object is used by one thread at a time. The record-file classes derive from CFile and
// override its virtual operations.
class CFile {
 public:
  enum OpenFlags : unsigned {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,  // as shareExclusive
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeCreate = 0x1000,      // create a missing file; truncate an existing one ...
    modeNoTruncate = 0x2000,  // ... unless this is given too
  };
  enum SeekPosition { begin = 0, current = 1, end = 2 };

  CFile() = default;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;
  // Closes an open file without reporting failures.
  virtual ~CFile();

  virtual uint64_t GetPosition() const;
  // The part of the path after its last separator ('/' or '\\').
  virtual std::string GetFileName() const;
  // The path of the open file as found on disk.
  virtual std::string GetFilePath() const;
  // Sets the path without opening anything; a null path throws CInvalidArgException.
  virtual void SetFilePath(const char* path);
  // Opens path with the flags above. On failure returns false and, when error is given, fills
  // its cause, errno and file name; never throws.
  virtual bool Open(const char* path, unsigned flags, CFileException* error = nullptr);
  // Moves the position and returns it; a position before the start throws badSeek. Moving past
  // the end is allowed (a write there extends the file).
  virtual uint64_t Seek(int64_t offset, SeekPosition from);
  virtual void SetLength(uint64_t length);
  virtual uint64_t GetLength() const;
  // Reads up to count bytes at the position and advances it; returns the bytes read, fewer
  // than count (0 included) at the end of the file.
  virtual uint32_t Read(void* buffer, uint32_t count);
  // Writes count bytes at the position and advances it.
  virtual void Write(const void* buffer, uint32_t count);
  // Closes the file and ignores every failure; nothing happens when no file is open.
  virtual void Abort();
  // Writes the file's data through to the disk.
  virtual void Flush();
  // Closes the file; the file is closed also when this throws.
  virtual void Close();

  void SeekToBegin() { Seek(0, begin); }
  uint64_t SeekToEnd() { return Seek(0, end); }
  bool IsOpen() const { return m_hFile != hFileNull; }

  // Deletes a file. A file that some object has open fails with sharingViolation and a file
  // without write permission with accessDenied, as on the original platform.
  static void Remove(const char* path);
  // Renames a file. Fails when the new name exists (accessDenied) or the file is open
  // (sharingViolation).
  static void Rename(const char* oldPath, const char* newPath);
  // Renames a file over an existing one in one step (MoveFileEx with
  // MOVEFILE_REPLACE_EXISTING): at every moment one of the two complete files
  // holds the name. Fails like Remove when the existing file is open or
  // read-only, and like Rename when the source is open.
  static void RenameReplacing(const char* oldPath, const char* newPath);
  // True when the file exists and has no write permission bit (the read-only attribute).
  static bool IsReadOnly(const char* path);

 protected:
  static constexpr int hFileNull = -1;

  int m_hFile = hFileNull;

 private:
  uint64_t Length() const;
  void Forget();
  [[noreturn]] void ThrowOsError(int osError) const;
  [[noreturn]] void Throw(int cause, long osError) const;

  // The access asked for; the descriptor itself is always readable (see file_open.cc).
  bool m_bReadable = false;
  bool m_bWritable = false;
  bool m_bKeepsLength = false;
  mutable int64_t m_knownLength = -1;  // -1: not known
  uint64_t m_position = 0;
  std::string m_strFilePath;
};
