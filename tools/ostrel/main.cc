// Ostrel: the local server of the accounting-entry service. Started by the
// runtime with "-Embedding", or by a person with a registration switch.
#include <string>

#include "remote/lancamento_remote.h"
#include "server/ostrel_module.h"

int main(int argc, char** argv) {
  std::string linha;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) linha += ' ';
    linha += argv[i];
  }
  qx::RegisterLancamentoStub();
  return qx::OstrelMain(linha);
}
