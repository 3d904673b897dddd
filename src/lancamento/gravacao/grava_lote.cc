// GravaLote: many entries saved as one operation (operacao.h), each month's
// files opened once and the change log stored in one transaction; all or
// nothing, after a crash too.
#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

#include "contract/entry_messages.h"
#include "lancamento/entrada_cliente.h"
#include "lancamento/gravacao/gravacao.h"
#include "lancamento/lancamento_base.h"
#include "lancamento/periodo_chamada.h"

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
  qx::Operacao operacao(*this, qx::kOperacaoLote);
  qx::ArquivosGravacao arquivos(*this);
  std::vector<qx::ItemLote> itens(static_cast<size_t>(Quantidade));
  qx::Espaco espaco;
  for (int32_t i = 0, linhas = 0; i < Quantidade; linhas += Lancamentos[i++].usQtdGerencial) {
    qx::PreparaItem(Lancamentos[i], Gerenciais + linhas, Textos, &itens[static_cast<size_t>(i)]);
    espaco += qx::EspacoDaGravacao(itens[static_cast<size_t>(i)].atual,
                                   itens[static_cast<size_t>(i)].gerencial);
  }
  int r = 0;
  // A date of the closed period refuses the batch before anything is written.
  for (int32_t i = 0; r == 0 && i < Quantidade; ++i) {
    r = qx::RecusaPeriodoFechado(*this, itens[static_cast<size_t>(i)].atual.Data);
    if (r != 0) *IndiceFalha = i;
  }
  if (r == 0) r = qx::AceitaGravacao(*this, espaco);
  if (r == 0) r = operacao.Inicia();
  size_t feitos = 0;  // entries whose save ran, the failing one included
  for (; r == 0 && feitos < itens.size(); ++feitos) {
    qx::ItemLote& item = itens[feitos];
    item.gravacao = std::make_unique<qx::Gravacao>(
        qx::Gravacao::Contexto{*this, item.atual, item.gerencial,
                               {*this, m_historico, m_planoContabil}},
        arquivos, operacao.log());
    r = item.gravacao->Verifica(item.posicao);
    if (r == 0) r = item.gravacao->Passos(&item.posicao);
    if (r != 0) *IndiceFalha = static_cast<int32_t>(feitos);
  }
  if (r == 0) r = arquivos.Fecha();
  if (r == 0) r = operacao.Conclui();
  if (r != 0) {
    // All or nothing: the files go back as they were, and each save takes
    // back what it did beyond them.
    arquivos.Fecha();
    for (size_t i = feitos; i-- > 0;) itens[i].gravacao->Desfaz();
    if (!operacao.Desfaz()) return qx::kHrOperacaoInterrompida;
    for (size_t i = 0; i < feitos; ++i) itens[i].posicao = 0;
    operacao.log().Envia();
  }
  for (size_t i = 0; i < feitos; ++i) Posicoes[i] = itens[i].posicao;
  return qx::ResultadoGravaDados(qx::ResultadoGrava(r));
}
