#include "arq_support.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "../platform/test_support.h"
#include "platform/clock.h"

namespace qx_test {
namespace {

void ApontaRegistro(const std::string& pasta) {
  setenv("QX_REGISTRY", (pasta + "/registry.reg").c_str(), 1);
  setenv("QX_REGISTRY_USER", (pasta + "/user.reg").c_str(), 1);
}

// The process's installation folder, where the error log goes: a registry of
// its own names it, so the tests never touch the machine's registry or logs.
struct Instalacao {
  Instalacao() {
    Escreve(pasta / "registry.reg",
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\QX Sistemas\\QXContabilidade]\r\n"
            "\"Path\"=\"" +
                pasta.path() + "/\"\r\n");
    ApontaRegistro(pasta.path());
  }
  qx::test::TempDir pasta;
};

Instalacao& InstalacaoDoTeste() {
  static Instalacao instalacao;
  return instalacao;
}

// Set up before any test runs.
[[maybe_unused]] const bool kInstalacaoPronta = !InstalacaoDoTeste().pasta.path().empty();

std::atomic<uint64_t> g_tick{1000000};

uint64_t Maquina() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

}  // namespace

// Other tests of the program may have pointed the registry elsewhere.
PastaTemporaria::PastaTemporaria() { ApontaRegistro(InstalacaoDoTeste().pasta.path()); }

std::string Conteudo(const std::string& caminho) { return qx::test::ReadText(caminho); }

bool Existe(const std::string& caminho) { return std::filesystem::exists(caminho); }

void Escreve(const std::string& caminho, std::string_view bytes) {
  qx::test::WriteText(caminho, bytes);
}

void Sobrescreve(const std::string& caminho, uint64_t posicao, std::string_view bytes) {
  std::fstream arquivo(caminho, std::ios::binary | std::ios::in | std::ios::out);
  arquivo.seekp(static_cast<std::streamoff>(posicao));
  arquivo.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

int QuantidadeDeArquivos(const std::string& pasta) {
  int quantidade = 0;
  for ([[maybe_unused]] const auto& entrada : std::filesystem::directory_iterator(pasta)) {
    ++quantidade;
  }
  return quantidade;
}

void ConfereOrcamento(const Orcamento& orcamento, const std::string& alvo,
                      const std::function<void()>& prepara, const std::function<int()>& opera) {
  struct Rodada {
    int causa;
    int falhas;
    int esperado;
    int chamadas;
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
    EXPECT_EQ(opera(), rodada.esperado)
        << "cause " << rodada.causa << ", " << rodada.falhas << " failures";
    EXPECT_EQ(qx::FileFaults::Calls(orcamento.op), static_cast<uint64_t>(rodada.chamadas))
        << "cause " << rodada.causa << ", " << rodada.falhas << " failures";
  }
}

std::string LogDeErros() {
  std::string tudo;
  for (const auto& entrada :
       std::filesystem::directory_iterator(InstalacaoDoTeste().pasta.path())) {
    if (entrada.path().filename().string().starts_with("QXProfilerErros")) {
      tudo += Conteudo(entrada.path().string());
    }
  }
  return tudo;
}

RelogioManual::RelogioManual() {
  qx::SetTickSourceForTesting([] { return g_tick.load(); });
}
RelogioManual::~RelogioManual() { qx::SetTickSourceForTesting(nullptr); }
void RelogioManual::Avanca(uint64_t ms) { g_tick += ms; }

RelogioAcelerado::RelogioAcelerado() {
  const uint64_t inicio = Maquina();
  qx::SetTickSourceForTesting([inicio] { return inicio + (Maquina() - inicio) * 1000; });
}
RelogioAcelerado::~RelogioAcelerado() { qx::SetTickSourceForTesting(nullptr); }

}  // namespace qx_test
