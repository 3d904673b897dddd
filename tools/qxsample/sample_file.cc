#include "sample_file.h"

#include "platform/path.h"

namespace qx::sample {

SampleFile::SampleFile(const std::string& folder, const std::string& name,
                       std::vector<std::string>* made) {
  const std::string path = JoinPath(folder, name);
  CFileException error;
  if (!file_.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite,
                  &error)) {
    CFileException::Throw(error.m_cause, error.m_lOsError, path.c_str());
  }
  made->push_back(name);
}

uint64_t SampleFile::AppendBytes(const void* bytes, uint32_t size) {
  const uint64_t offset = length_;
  file_.Write(bytes, size);
  length_ += size;
  return offset;
}

void SampleFile::AppendZeros(uint32_t size) {
  const std::vector<unsigned char> zeros(size, 0);
  AppendBytes(zeros.data(), size);
}

}  // namespace qx::sample
