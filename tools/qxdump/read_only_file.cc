#include "read_only_file.h"

#include <algorithm>
#include <array>

namespace qx::dump {
namespace {

constexpr uint32_t kWindowSize = 64 * 1024;

std::string FailureText(const std::string& action, const CFileException& e) {
  std::string text = action + ": " + CauseText(e.m_cause);
  if (e.m_lOsError > 0) text += " (erro do sistema " + std::to_string(e.m_lOsError) + ")";
  return text;
}

}  // namespace

std::string CauseText(int cause) {
  struct CauseName {
    int cause;
    const char* text;
  };
  static constexpr std::array<CauseName, 15> kTexts = {{
      {CFileException::none, "sem erro"},
      {CFileException::genericException, "falha genérica"},
      {CFileException::fileNotFound, "arquivo não encontrado"},
      {CFileException::badPath, "caminho inválido"},
      {CFileException::tooManyOpenFiles, "arquivos abertos demais"},
      {CFileException::accessDenied, "acesso negado"},
      {CFileException::invalidFile, "arquivo inválido"},
      {CFileException::removeCurrentDir, "não se remove a pasta atual"},
      {CFileException::directoryFull, "pasta cheia"},
      {CFileException::badSeek, "posicionamento inválido"},
      {CFileException::hardIO, "erro de entrada e saída do disco"},
      {CFileException::sharingViolation, "violação de compartilhamento"},
      {CFileException::lockViolation, "violação de trava"},
      {CFileException::diskFull, "disco cheio"},
      {CFileException::endOfFile, "fim do arquivo"},
  }};
  for (const CauseName& name : kTexts) {
    if (name.cause == cause) return name.text;
  }
  return "falha " + std::to_string(cause);
}

bool ReadOnlyFile::Open(const std::string& path, std::string* error) {
  CFileException e;
  if (!file_.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone | CFile::modeNoTruncate,
                  &e)) {
    *error = FailureText("não foi possível abrir " + path, e);
    return false;
  }
  try {
    length_ = file_.GetLength();
  } catch (CFileException* thrown) {
    *error = FailureText("não foi possível saber o tamanho de " + path, *thrown);
    thrown->Delete();
    return false;
  }
  return true;
}

bool ReadOnlyFile::ReadAt(uint64_t offset, uint32_t count, std::vector<unsigned char>* out,
                          std::string* error) {
  out->clear();
  if (offset >= length_) return true;
  count = static_cast<uint32_t>(std::min<uint64_t>(count, length_ - offset));
  const bool inWindow = offset >= windowStart_ && offset + count <= windowStart_ + window_.size();
  if (!inWindow) {
    window_.assign(std::max(count, kWindowSize), 0);
    windowStart_ = offset;
    try {
      file_.Seek(static_cast<int64_t>(offset), CFile::begin);
      const uint64_t wanted = std::min<uint64_t>(window_.size(), length_ - offset);
      window_.resize(file_.Read(window_.data(), static_cast<uint32_t>(wanted)));
    } catch (CFileException* thrown) {
      window_.clear();
      *error = FailureText("leitura no byte " + std::to_string(offset), *thrown);
      thrown->Delete();
      return false;
    }
  }
  const uint64_t from = offset - windowStart_;
  const uint64_t available = window_.size() > from ? window_.size() - from : 0;
  const auto begin = window_.begin() + static_cast<std::ptrdiff_t>(from);
  out->assign(begin, begin + static_cast<std::ptrdiff_t>(std::min<uint64_t>(count, available)));
  return true;
}

}  // namespace qx::dump
