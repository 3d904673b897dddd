// Helpers of the storage tests: private temporary folders, raw file access
// behind the record files' back, the error log of the test process, retry
// budgets under the fault plan, and a controllable tick count.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "../platform/test_support.h"
#include "platform/file_faults.h"

namespace qx_test {

// A fresh folder under the temporary folder, removed with its content.
class PastaTemporaria {
 public:
  PastaTemporaria();

  const std::string& Caminho() const { return pasta_.path(); }
  // Folder + "/" + name.
  std::string operator/(std::string_view nome) const { return pasta_ / nome; }

 private:
  qx::test::TempDir pasta_;
};

// Whole content of a file ("" when it is missing).
std::string Conteudo(const std::string& caminho);
bool Existe(const std::string& caminho);
// Replaces a file's content.
void Escreve(const std::string& caminho, std::string_view bytes);
// Overwrites bytes at an offset of an existing file.
void Sobrescreve(const std::string& caminho, uint64_t posicao, std::string_view bytes);
// Number of entries of a folder.
int QuantidadeDeArquivos(const std::string& pasta);

// A retry budget as seen from outside: `tentativas` attempts of operation `op`;
// `repetivel` is retried and gives `codigoNaUltima` when every attempt fails;
// `fatal` gives `codigoFatal` at the first failure.
struct Orcamento {
  qx::FileOp op;
  int tentativas;
  int repetivel;
  int codigoNaUltima;
  int fatal;
  int codigoFatal;
};

// Checks a budget with injected failures on paths containing `alvo`: k failures
// of the retryable cause succeed on attempt k + 1 while k < tentativas, and k =
// tentativas gives the documented code; the fatal cause is one attempt. Each
// round runs `prepara` (not counted), then `opera`, whose status is checked.
void ConfereOrcamento(const Orcamento& orcamento, const std::string& alvo,
                      const std::function<void()>& prepara, const std::function<int()>& opera);

// Everything the error log of this process holds so far.
std::string LogDeErros();

// While alive, the tick count is the value set here (starting at 1000000).
class RelogioManual {
 public:
  RelogioManual();
  ~RelogioManual();
  void Avanca(uint64_t ms);
};

// While alive, the tick count runs 1000 times faster than the machine's, so
// that waits of tens of seconds pass in tens of milliseconds.
class RelogioAcelerado {
 public:
  RelogioAcelerado();
  ~RelogioAcelerado();
};

}  // namespace qx_test
