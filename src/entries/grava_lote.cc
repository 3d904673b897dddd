// GravaLote: many entries saved under one hold of mark 7, each month's files
// opened once and the change log sent in one transaction; all or nothing.
#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

#include "entries/entrada_cliente.h"
#include "entries/gravacao.h"
#include "entries/lancamento_base.h"
#include "entries/periodo_chamada.h"

namespace qx {
namespace {

// One entry of the batch: what its save takes, and the save itself, kept
// until the end of the batch for an undoing.
struct ItemLote {
  LancamentoAtual atual;
  GerencialAtual gerencial;
  std::unique_ptr<Gravacao> gravacao;
  int32_t posicao = 0;
};

// The split lines and text of every entry lie inside what the call gave.
bool ArgumentosCoerentes(int32_t quantidade, const REG_LOTE_LANCAMENTO* lancamentos,
                         int32_t qtdGerencial, int32_t tamanhoTextos) {
  int64_t linhas = 0;
  for (int32_t i = 0; i < quantidade; ++i) {
    const REG_LOTE_LANCAMENTO& l = lancamentos[i];
    linhas += l.usQtdGerencial;
    if (int64_t{l.ulInicioComplemento} + l.usTamanhoComplemento > tamanhoTextos) return false;
  }
  return linhas == qtdGerencial;
}

void PreparaItem(const REG_LOTE_LANCAMENTO& lancamento, const REG_LOTE_GERENCIAL* linhas,
                 const unsigned char* textos, ItemLote* item) {
  CopiaDadosParaAtual(lancamento.Dados, &item->atual);
  DefineComplemento(std::string_view(reinterpret_cast<const char*>(textos) +
                                         lancamento.ulInicioComplemento,
                                     lancamento.usTamanhoComplemento),
                    &item->atual);
  for (uint16_t k = 0; k < lancamento.usQtdGerencial; ++k) {
    item->gerencial.linhas.push_back(DoCliente(linhas[k].Linha));
    item->gerencial.quantidades.push_back(DoCliente(linhas[k].Quantidade));
  }
  item->posicao = lancamento.Indlan;
}

}  // namespace
}  // namespace qx

HRESULT CLancamentoBase::GravaLote(int32_t Quantidade, REG_LOTE_LANCAMENTO* Lancamentos,
                                   int32_t QtdGerencial, REG_LOTE_GERENCIAL* Gerenciais,
                                   int32_t TamanhoTextos, unsigned char* Textos,
                                   int32_t* Posicoes, int32_t* IndiceFalha) {
  if (IndiceFalha == nullptr) return E_POINTER;
  *IndiceFalha = -1;
  if (Quantidade < 0 || QtdGerencial < 0 || TamanhoTextos < 0) return E_INVALIDARG;
  if ((Quantidade > 0 && (Lancamentos == nullptr || Posicoes == nullptr)) ||
      (QtdGerencial > 0 && Gerenciais == nullptr) || (TamanhoTextos > 0 && Textos == nullptr)) {
    return E_POINTER;
  }
  if (!qx::ArgumentosCoerentes(Quantidade, Lancamentos, QtdGerencial, TamanhoTextos)) {
    return E_INVALIDARG;
  }
  std::fill_n(Posicoes, Quantidade, 0);
  if (Quantidade == 0) return S_OK;

  const qx::PeriodoDaChamada periodo(*this);
  qx::ArquivosGravacao arquivos(*this);
  qx::LoteLog log(*this);
  std::vector<qx::ItemLote> itens(static_cast<size_t>(Quantidade));
  int r = qx::AceitaGravacao(*this);
  if (r == 0) r = arquivos.Marca();
  size_t feitos = 0;  // entries whose save ran, the failing one included
  for (const REG_LOTE_GERENCIAL* linhas = Gerenciais; r == 0 && feitos < itens.size(); ++feitos) {
    qx::ItemLote& item = itens[feitos];
    const REG_LOTE_LANCAMENTO& lancamento = Lancamentos[feitos];
    qx::PreparaItem(lancamento, linhas, Textos, &item);
    linhas += lancamento.usQtdGerencial;
    item.gravacao = std::make_unique<qx::Gravacao>(
        qx::Gravacao::Contexto{*this, item.atual, item.gerencial,
                               {*this, m_historico, m_planoContabil}},
        arquivos, log);
    r = item.gravacao->Verifica(item.posicao);
    if (r == 0) r = item.gravacao->Passos(&item.posicao);
    if (r != 0) *IndiceFalha = static_cast<int32_t>(feitos);
  }
  if (r == 0) r = arquivos.Fecha();
  // All or nothing: the saves are undone from the last; one that cannot be
  // undone keeps it and the entries before it written.
  bool desfeito = r != 0;
  for (size_t i = feitos; desfeito && i-- > 0;) {
    desfeito = itens[i].gravacao->Desfaz();
    if (desfeito) itens[i].posicao = 0;
  }
  for (size_t i = 0; i < feitos; ++i) Posicoes[i] = itens[i].posicao;
  log.Envia();
  arquivos.Fecha();
  arquivos.Desmarca();
  return qx::ResultadoGravaDados(qx::ResultadoGrava(r));
}
