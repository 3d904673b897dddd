// Helpers of the storage tests: private temporary folders whose error log is the
// test's own, raw file access behind the record files' back, retry budgets under
// the fault plan, and a controllable tick count.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>

#include "../platform/test_support.h"
#include "platform/clock.h"
#include "platform/file_faults.h"
#include "qxdump_json.h"

namespace qx_test {

using qx::test::ExpectContains;
using qx::test::ReadText;
using qx::test::WriteText;

// The process's installation folder, where the error log goes: a registry of
// its own names it, so the tests never touch the machine's registry or logs.
inline const qx::test::TempDir& Instalacao() {
  static const qx::test::TempDir pasta;
  static const bool pronta = [] {
    WriteText(pasta / "registry.reg",
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\QX Sistemas\\QXContabilidade]\r\n"
              "\"Path\"=\"" +
                  pasta.path() + "/\"\r\n");
    return true;
  }();
  (void)pronta;
  return pasta;
}

// A fresh folder; other tests of the program may have pointed the registry elsewhere.
class PastaTemporaria : public qx::test::TempDir {
 public:
  PastaTemporaria() {
    setenv("QX_REGISTRY", (Instalacao() / "registry.reg").c_str(), 1);
    setenv("QX_REGISTRY_USER", (Instalacao() / "user.reg").c_str(), 1);
  }
};

inline bool Existe(const std::string& caminho) { return std::filesystem::exists(caminho); }

// Overwrites bytes at an offset of an existing file.
inline void Sobrescreve(const std::string& caminho, uint64_t posicao, std::string_view bytes) {
  std::fstream arquivo(caminho, std::ios::binary | std::ios::in | std::ios::out);
  arquivo.seekp(static_cast<std::streamoff>(posicao));
  arquivo.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline int QuantidadeDeArquivos(const std::string& pasta) {
  const auto entradas = std::filesystem::directory_iterator(pasta);
  return static_cast<int>(std::distance(begin(entradas), end(entradas)));
}

// Everything the error log of this process holds so far.
inline std::string LogDeErros() {
  std::string tudo;
  for (const auto& entrada : std::filesystem::directory_iterator(Instalacao().path())) {
    if (entrada.path().filename().string().starts_with("QXProfilerErros")) {
      tudo += ReadText(entrada.path().string());
    }
  }
  return tudo;
}

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

// Injects failures on paths containing `alvo`: k failures of the retryable cause
// succeed on attempt k + 1 while k < tentativas, and k = tentativas gives the
// documented code; the fatal cause is one attempt. Each round runs `prepara`
// (not counted), then `opera`, whose status is checked.
inline void ConfereOrcamento(const Orcamento& orcamento, const std::string& alvo,
                             const std::function<void()>& prepara,
                             const std::function<int()>& opera) {
  struct Rodada {
    int causa, falhas, esperado, chamadas;
  };
  const int n = orcamento.tentativas;
  const Rodada rodadas[] = {
      {orcamento.repetivel, 1, 0, 2},
      {orcamento.repetivel, n - 1, 0, n},
      {orcamento.repetivel, n, orcamento.codigoNaUltima, n},
      {orcamento.fatal, 1, orcamento.codigoFatal, 1},
  };
  for (const Rodada& rodada : rodadas) {
    if (rodada.falhas < 1 || (rodada.esperado == 0 && rodada.falhas >= n)) continue;
    qx::FileFaultsGuard limpa;
    prepara();
    qx::FileFaults::Count(alvo);
    qx::FileFaults::Arm(orcamento.op, 1, rodada.causa, alvo, rodada.falhas);
    SCOPED_TRACE(testing::Message() << "cause " << rodada.causa << ", " << rodada.falhas);
    EXPECT_EQ(opera(), rodada.esperado);
    EXPECT_EQ(qx::FileFaults::Calls(orcamento.op), static_cast<uint64_t>(rodada.chamadas));
  }
}

// While alive, the tick count is the value set here (starting at 1000000).
class RelogioManual {
 public:
  RelogioManual() {
    qx::SetTickSourceForTesting([] { return Tick().load(); });
  }
  ~RelogioManual() { qx::SetTickSourceForTesting(nullptr); }
  void Avanca(uint64_t ms) { Tick() += ms; }

 private:
  static std::atomic<uint64_t>& Tick() {
    static std::atomic<uint64_t> tick{1000000};
    return tick;
  }
};

// While alive, the tick count runs 1000 times faster than the machine's, so
// that waits of tens of seconds pass in tens of milliseconds.
class RelogioAcelerado {
 public:
  RelogioAcelerado() {
    qx::SetTickSourceForTesting(
        [inicio = Maquina()] { return inicio + (Maquina() - inicio) * 1000; });
  }
  ~RelogioAcelerado() { qx::SetTickSourceForTesting(nullptr); }

 private:
  static uint64_t Maquina() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
  }
};

}  // namespace qx_test
