// The order of a save: checks, mark and files, the record an update replaces,
// complement, the replaced record's totals taken off, record, amounts, the
// new totals, split and change log, closing; and the files saves share.
#include "lancamento/gravacao/gravacao.h"

#include <algorithm>
#include <cstring>

#include "contract/entry_messages.h"
#include "lancamento/gravacao/registro_log.h"
#include "lancamento/lancamento_base.h"
#include "lancamento/meses/arquivo_mes.h"
#include "lancamento/periodo_chamada.h"
#include "outside/change_log/reg_lan_atual.h"
#include "storage/records/difference_record.h"

namespace qx {
namespace {

// Record-file statuses, and the code of a session without key.
constexpr int kPrimeiroStatusArquivo = 16001;

}  // namespace

HRESULT ResultadoGrava(int r) {
  if (r <= 0 || (r >= kPrimeiroStatusArquivo && r <= kGravaSemSessao)) return r;
  return static_cast<HRESULT>(0x00040000u | static_cast<uint32_t>(r));
}

Espaco EspacoDaGravacao(const LancamentoAtual& atual, const GerencialAtual& gerencial) {
  // Per record of the change log, about as much again for its row and indexes.
  constexpr uint64_t kPorRegistro = 64;
  const uint64_t texto = std::strlen(atual.szComplemento) + 1;
  const uint64_t linhas = gerencial.linhas.size();
  Espaco espaco;
  // The records, and at most as much again in the intent: an update's old
  // record and lines, the old totals.
  espaco.arquivos = 2 * (kEntryRecordSize + texto + linhas * (kSplitRecordSize + kQuantityRecordSize) +
                         kCurrencyRecordSize + 2 * kDifferenceRecordSize) +
                    sizeof(IntentHeader) + 8 * (sizeof(IntentEntryHead) + 16);
  // An update's before image and first old line, the after image, its text
  // and lines.
  espaco.log = 2 * (sizeof(RegLanAtual) + texto + kPorRegistro) +
               (linhas + 1) * (kSplitRecordSize + kPorRegistro);
  return espaco;
}

int ArquivosGravacao::Arquivo(CQXMesAno mes, ArquivoMes qual, CQXarq** arq, bool criar) {
  // Prefix, record size and first record of each kind, in the order of ArquivoMes.
  struct Tipo {
    const char* prefixo;
    uint32_t tamanho;
    const void* primeiro;  // null: the file's writes make their own
  };
  static constexpr char kZeros[kEntryRecordSize] = {};
  static constexpr Tipo kTipos[kArquivos] = {
      {kPrefixoLancamentos, kEntryRecordSize, kZeros},
      {kPrefixoGerencial, kSplitRecordSize, kZeros},
      {kPrefixoQuantidades, kQuantityRecordSize, nullptr},
      // Offset 0 means "no complement": an emptied heap gets its first byte back.
      {kPrefixoComplementos, 1, &kComplementZeroByte},
      {kPrefixoMoeda, kCurrencyRecordSize, nullptr},
  };
  const Tipo& tipo = kTipos[static_cast<size_t>(qual)];
  CQXarq& arquivo = meses_[mes.Value()][static_cast<size_t>(qual)];
  *arq = &arquivo;
  if (arquivo.IsOpen()) return ARQ_OK;
  if (int status = AbreArquivoMes(arquivo, objeto_.GetPastaEmpresa(), tipo.prefixo, mes.Value(),
                                  'G', tipo.tamanho, criar)) {
    return status;
  }
  // The operation's intent learns its length now, with the others: one write
  // of the intent covers every file the save grows.
  if (Intencao* intencao = Intencao::DaThread()) {
    if (int status = intencao->Anuncia(arquivo)) return status;
  }
  return tipo.primeiro != nullptr ? GaranteRegistroZero(arquivo, tipo.tamanho, tipo.primeiro)
                                  : ARQ_OK;
}

int ArquivosGravacao::Fecha() {
  int lancamentos = ARQ_OK;
  int outros = ARQ_OK;
  for (auto& [mes, arquivos] : meses_) {
    for (size_t i = 0; i < kArquivos; ++i) {
      if (!arquivos[i].IsOpen()) continue;
      const int status = arquivos[i].Fecha();
      int& primeiro = i == static_cast<size_t>(ArquivoMes::kLancamentos) ? lancamentos : outros;
      if (primeiro == ARQ_OK) primeiro = status;
    }
  }
  return lancamentos != ARQ_OK ? lancamentos : outros;
}

int GravaLancamento(const Gravacao::Contexto& contexto, int32_t* indlan) {
  Operacao operacao(contexto.objeto, kOperacaoGravacao);
  ArquivosGravacao arquivos(contexto.objeto);
  Gravacao gravacao(contexto, arquivos, operacao.log());
  const int32_t pedido = *indlan;
  const LancamentoAtual antes = contexto.atual;
  int r = gravacao.Verifica(*indlan);
  if (r == 0) r = AceitaGravacao(contexto.objeto, EspacoDaGravacao(contexto.atual, contexto.gerencial));
  if (r == 0) r = operacao.Inicia();
  if (r == 0) r = gravacao.Passos(indlan);
  if (r == 0) r = arquivos.Fecha();
  if (r == 0) r = operacao.Conclui();
  if (r != 0) {
    arquivos.Fecha();
    gravacao.Desfaz();
    if (!operacao.Desfaz()) return kHrOperacaoInterrompida;
    // Nothing of the save is left: the client may simply try again.
    *indlan = pedido;
    contexto.atual = antes;
    // What the change log hears of a save that stopped.
    operacao.log().Envia();
  }
  return r;
}

Gravacao::Gravacao(const Contexto& contexto, ArquivosGravacao& arquivos, LoteLog& log)
    : c_(contexto),
      arquivos_(arquivos),
      log_(log),
      mesAno_(contexto.atual.Data.MesAno()),
      secao_(contexto.objeto.GetNumeroSessao() >> 12) {}

int Gravacao::Passos(int32_t* indlan) {
  LancamentoAtual& atual = c_.atual;
  int r = AbreArquivos();
  if (r == ARQ_OK && *indlan > 0) r = LeAnterior(static_cast<uint32_t>(*indlan));
  uint32_t complemento = 0;
  if (r == ARQ_OK) r = GravaTexto(&complemento);
  if (r == ARQ_OK) {
    atual.ulComplemento = complemento;
    registro_ = NovoRegistro();
    logDoRegistro_ = log_.Quantos();
    r = Registro(indlan);
  }
  logFim_ = log_.Quantos();
  return r;
}

int Gravacao::Registro(int32_t* indlan) {
  LancamentoAtual& atual = c_.atual;
  if (alteracao_) {
    // Document management may still refuse the change: nothing but the
    // complement text is written yet.
    const HRESULT hr = NotificaGed(static_cast<uint32_t>(*indlan), registro_, anterior_);
    if (FAILED(hr)) return hr;
    if (c_.objeto.GetIntegracaoGed() != nullptr) gedNotificado_ = static_cast<uint32_t>(*indlan);
    if (int r = DiferencaAnterior()) return r;
  }

  uint32_t posicao = alteracao_ ? static_cast<uint32_t>(*indlan) : 0;
  if (int r = lancamentos_->Grava(&registro_, &posicao, kEntryRecordSize)) return r;
  *indlan = static_cast<int32_t>(posicao);
  atual.usMesAnoLido = mesAno_.Value();
  atual.ulIndlanLido = posicao;
  atual.Secao = secao_;
  atual.cConferido = 0;
  atual.ulGerencial = 0;
  atual.ulGerencialAnterior = 0;

  if (registro_.cStatus == kEntryLiveWithCurrency) {
    if (int r = GravaMoeda(posicao)) return r;
  }
  if (int r = DiferencaNova()) return r;
  if (int r = RemoveGerencialAnterior()) return r;
  log_.Lancamento(
      static_cast<int32_t>(posicao), servico_, registro_, atual.szComplemento, atual.Data,
      registro_.cStatus == kEntryLiveWithCurrency ? std::optional<int64_t>(atual.ValorMoeda.int64)
                                                  : std::nullopt);
  return GravaGerencial(posicao);
}

int Gravacao::Verifica(int32_t indlan) const {
  const LancamentoAtual& atual = c_.atual;
  if (secao_ == 0) return kGravaSemSessao;
  if (atual.Filial == 0) return kGravaSemFilial;
  if (atual.Data.IsEmpty()) return kGravaSemData;
  // Without the company's folder the month files would land in the current one.
  if (c_.objeto.GetPastaEmpresa().empty()) return ARQ_CAMINHO_INVALIDO;
  // The entry last loaded or saved moved to another month by its date: the
  // same index there names another entry. Any other index names an entry of
  // the date's month.
  if (indlan > 0 && static_cast<uint32_t>(indlan) == atual.ulIndlanLido &&
      atual.usMesAnoLido != 0 && atual.usMesAnoLido != atual.Data.MesAno().Value()) {
    return kMensagemOutroMes;
  }
  return RecusaPeriodoFechado(c_.objeto, atual.Data);
}

// Every save opens the split file, and the quantity file where quantities are
// kept, whether or not the entry has a split: a month whose split file has
// vanished refuses its saves, and a missing one is made by the first.
int Gravacao::AbreArquivos() {
  CQXarq* arquivo = nullptr;
  if (int status = Arquivo(ArquivoMes::kLancamentos, &lancamentos_)) return status;
  if (int status = Arquivo(ArquivoMes::kGerencial, &arquivo)) return status;
  if (!c_.objeto.GetUsaQuantidadeGerencial()) return ARQ_OK;
  return Arquivo(ArquivoMes::kQuantidades, &arquivo);
}

int Gravacao::LeAnterior(uint32_t indlan) {
  if (int status = lancamentos_->Le(indlan, &anterior_)) return status;
  // The date stored there, even a deleted entry's, must lie outside the
  // closed period: the update writes over it.
  const CQXData data = DataDoLancamento(mesAno_.Value(), anterior_.cDia);
  if (const HRESULT hr = RecusaPeriodoFechado(c_.objeto, data)) return hr;
  alteracao_ = true;
  // A deleted entry gave back its differences and split lines when it was
  // removed: writing over it takes nothing off a second time.
  anteriorExcluido_ = anterior_.cStatus == kEntryDeleted;
  gerencialAnterior_ = anterior_.Gerencial > 0 && !anteriorExcluido_
                           ? static_cast<uint32_t>(anterior_.Gerencial)
                           : 0;
  log_.Lancamento(static_cast<int32_t>(indlan), kLogAntes, anterior_, c_.atual.szComplemento, data,
                  std::nullopt);
  servico_ = kLogAlteracao;
  return ARQ_OK;
}

int Gravacao::GravaTexto(uint32_t* posicao) {
  *posicao = 0;
  if (c_.atual.szComplemento[0] == '\0') return ARQ_OK;
  CQXarq* heap = nullptr;
  if (int status = Arquivo(ArquivoMes::kComplementos, &heap)) return status;
  return GravaComplemento(*heap, c_.atual.szComplemento, posicao);
}

EntryRecord Gravacao::NovoRegistro() const {
  const LancamentoAtual& atual = c_.atual;
  EntryRecord registro{};
  registro.Documento = atual.Documento;
  registro.Complemento = static_cast<int32_t>(atual.ulComplemento);
  registro.Debito = atual.Debito;
  registro.Credito = atual.Credito;
  registro.Secao = static_cast<int32_t>(secao_);
  registro.Valor = atual.Valor;
  registro.lChaveModulo = static_cast<int32_t>(atual.lChaveModulo);
  registro.iData = atual.iData;
  registro.CodHis = atual.CodHis;
  registro.Filial = atual.Filial;
  registro.cDia = static_cast<int8_t>(atual.Data.Day());
  registro.cStatus = atual.cStatusNovo;
  registro.cStatusIFRS = atual.cStatusIFRS;
  if (c_.objeto.GetMoedaEstrangeira() != 0 &&
      (atual.ValorMoeda.int64 != 0 || atual.cGravarZero == 'S')) {
    registro.cStatus = kEntryLiveWithCurrency;
  }
  return registro;
}

int Gravacao::GravaMoeda(uint32_t indlan) {
  CQXarq* moeda = nullptr;
  if (int status = Arquivo(ArquivoMes::kMoeda, &moeda)) return status;
  uint32_t tamanho = 0;
  int status = moeda->Posiciona('F', 0, &tamanho);
  // Entries before this one that have no amount get zero records.
  const CurrencyRecord zero{};
  for (uint32_t k = std::max<uint32_t>(tamanho / kCurrencyRecordSize, 1);
       status == ARQ_OK && k < indlan; ++k) {
    uint32_t posicao = k;
    status = moeda->Grava(&zero, &posicao, kCurrencyRecordSize);
  }
  if (status != ARQ_OK) return status;
  CurrencyRecord valor{};
  valor.ValorMoeda = c_.atual.ValorMoeda;
  uint32_t posicao = indlan;
  return moeda->Grava(&valor, &posicao, kCurrencyRecordSize);
}

// An update takes the replaced record's amounts off before it writes the new
// record, and adds the new amounts after.
int Gravacao::DiferencaAnterior() const {
  if (anteriorExcluido_) return ARQ_OK;
  return c_.objeto.AtualizaDiferencaLancamento(
      anterior_.Debito, anterior_.Credito, anterior_.Valor,
      DataDoLancamento(mesAno_.Value(), anterior_.cDia), anterior_.Filial,
      c_.objeto.GetUsuario(), -1);
}

int Gravacao::DiferencaNova() const {
  return c_.objeto.AtualizaDiferencaLancamento(registro_.Debito, registro_.Credito, registro_.Valor,
                                               c_.atual.Data, registro_.Filial,
                                               c_.objeto.GetUsuario(), +1);
}

}  // namespace qx
