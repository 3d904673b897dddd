// An operation that stopped part way, as its recovery will leave the folder.
#include <algorithm>
#include <string>

#include "storage/check/check_folder.h"
#include "storage/intencao.h"

namespace qx::check {
namespace {

// Takes one entry of the intent back in the bytes read.
void Desfaz(const EntradaIntencao& entrada, std::string* bytes) {
  if (entrada.tipo == kIntentLength) {
    if (bytes->size() > entrada.posicao) bytes->resize(entrada.posicao);
    return;
  }
  const uint64_t fim = entrada.posicao + entrada.bytes.size();
  if (bytes->size() < fim) bytes->resize(fim, '\0');
  bytes->replace(entrada.posicao, entrada.bytes.size(), entrada.bytes);
}

}  // namespace

void CheckPendingIntent(FolderFiles* files, const LogDaEmpresa* log, Findings* findings) {
  if (!files->intent) return;
  std::optional<IntentHeader> cabecalho;
  std::vector<EntradaIntencao> entradas;
  LeIntencao(files->intent->bytes, &cabecalho, &entradas);
  // An intent without an entry covers no write; one that the log has as
  // ended stayed behind its operation's end.
  if (!cabecalho || entradas.empty() ||
      (log != nullptr && std::find(log->encerradas.begin(), log->encerradas.end(),
                                   cabecalho->Operacao) != log->encerradas.end())) {
    return;
  }
  for (auto e = entradas.rbegin(); e != entradas.rend(); ++e) {
    std::optional<LoadedFile>* slot = SlotOf(e->nome, files);
    if (slot != nullptr && *slot) Desfaz(*e, &(*slot)->bytes);
  }
  findings->Add("intent-pending", files->intent->name,
                "uma operação da sessão " + std::to_string(cabecalho->Sessao) +
                    " parou no meio; a próxima gravação, exclusão ou abertura da empresa a "
                    "desfaz, e a pasta é conferida como ficará então");
}

}  // namespace qx::check
