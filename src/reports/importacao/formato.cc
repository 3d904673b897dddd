#include "reports/importacao/formato.h"

#include "contract/profiler_identity.h"
#include "platform/bstr.h"
#include "platform/codepage.h"
#include "reports/falha.h"

namespace qx {

Layout LayoutDoRegistro(const REGFORMATOIMPORT& registro) {
  return {FieldText(registro.cSequenciaContabil), FieldText(registro.cSequenciaGerencial),
          static_cast<char>(registro.cDelimitador)};
}

uint16_t PosicaoDoLayout(SessaoLancamento& servico, const std::string& nome) {
  const UniqueBstr bstr(BstrFromCp1252(Utf8ToCp1252(nome)));
  uint16_t posicao = 0;
  Verifica(servico->ExisteFormatoImportacao(bstr.get(), &posicao), "ExisteFormatoImportacao");
  return posicao;
}

Layout LeLayout(SessaoLancamento& servico, const std::string& nome) {
  const uint16_t posicao = PosicaoDoLayout(servico, nome);
  if (posicao == 0 && nome == kNomeLayoutPadrao) return kLayoutPadrao;
  if (posicao == 0) throw FalhaLocal{"formato de importação não encontrado: " + nome};
  REGFORMATOIMPORT r{};
  Verifica(servico->LeFormatoImportacao(posicao, &r), "LeFormatoImportacao");
  const Layout layout = LayoutDoRegistro(r);
  std::string motivo;
  if (!LayoutValido(layout, &motivo)) throw FalhaLocal{"formato " + nome + ": " + motivo};
  return layout;
}

}  // namespace qx
