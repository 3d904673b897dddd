// Ostrel: the local server of the accounting-entry service. Started by the
// runtime with "-Embedding", or by a person with a registration switch.
#include <cstdio>
#include <string>

#include "diagnostics/versions.h"
#include "remote/lancamento_remote.h"
#include "server/command_line.h"
#include "server/ostrel_module.h"

namespace {

constexpr int kSaidaUso = 2;

constexpr char kUso[] =
    "uso: ostrel -RegServer | -UnregServer | -RegServerPerUser | -UnregServerPerUser\n"
    "O servidor de lançamentos. Os clientes o iniciam sozinhos (com -Embedding) e ele\n"
    "termina 5 segundos depois do último objeto; uma pessoa só o registra:\n"
    "  -RegServer            registra o servidor no registro de QX_REGISTRY\n"
    "  -UnregServer          remove esse registro\n"
    "  -RegServerPerUser     registra nas classes do usuário (QX_REGISTRY_USER)\n"
    "  -UnregServerPerUser   remove o registro do usuário\n"
    "  --version             mostra a versão\n"
    "As chaves valem com '-' ou '/', em qualquer caixa. Saída: 0 feito, 2 erro de uso,\n"
    "outro número: o código da falha do registro.\n";

}  // namespace

int main(int argc, char** argv) {
  std::string linha;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) linha += ' ';
    linha += argv[i];
  }
  std::string desconhecida;
  switch (qx::VerificaLinhaComando(linha, &desconhecida)) {
    case qx::PedidoLinhaComando::kUso:
      std::fputs(kUso, stdout);
      return kSaidaUso;
    case qx::PedidoLinhaComando::kVersao:
      std::printf("ostrel %.*s\n", static_cast<int>(qx::kVersaoProjeto.size()),
                  qx::kVersaoProjeto.data());
      return 0;
    case qx::PedidoLinhaComando::kDesconhecida:
      std::fprintf(stderr, "ostrel: chave desconhecida: %s\n%s", desconhecida.c_str(), kUso);
      return kSaidaUso;
    case qx::PedidoLinhaComando::kServidor:
      break;
  }
  qx::RegisterLancamentoStub();
  return qx::OstrelMain(linha);
}
