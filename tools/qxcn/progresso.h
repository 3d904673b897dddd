#pragma once
// A progress bar on standard error, drawn only when it is a terminal.

#include <cstddef>
#include <string>

namespace qxcn {

class Progresso {
 public:
  Progresso(std::string titulo, size_t total);
  ~Progresso();
  Progresso(const Progresso&) = delete;
  Progresso& operator=(const Progresso&) = delete;

  void Avanca(size_t feitos);

 private:
  std::string titulo_;
  size_t total_;
  bool ativo_;
  int ultimo_ = -1;
};

}  // namespace qxcn
