// The order of a save: checks, mark and files, the record an update replaces,
// complement, the replaced record's totals taken off, record, amounts, the
// new totals, split and change log, closing.
#include "entries/gravacao.h"

#include <algorithm>

#include "entries/arquivo_mes.h"
#include "entries/entry_messages.h"
#include "entries/lancamento_base.h"
#include "entries/registro_log.h"
#include "outside/suite_database.h"
#include "storage/folga_disco.h"

namespace qx {
namespace {

// Record-file statuses, and the code of a session without key.
constexpr int kPrimeiroStatusArquivo = 16001;

}  // namespace

HRESULT ResultadoGrava(int r) {
  if (r <= 0 || (r >= kPrimeiroStatusArquivo && r <= kGravaSemSessao)) return r;
  return static_cast<HRESULT>(0x00040000u | static_cast<uint32_t>(r));
}

int AceitaGravacao(CLancamentoBase& objeto) {
  if (SemFolgaParaGravar(objeto.GetPastaEmpresa())) return ARQ_DISCO_CHEIO;
  const HRESULT hr = objeto.AceitaGravacao();
  return hr == kDiscoCheio ? ARQ_DISCO_CHEIO : hr;
}

int Gravacao::Executa(int32_t* indlan) {
  const int32_t pedido = *indlan;
  const LancamentoAtual antes = c_.atual;
  int r = Passos(indlan);
  if (r == 0) r = FechaArquivos();
  if (r != 0 && Desfaz()) {
    // Nothing of the save is left: the client may simply try again. The
    // change log hears what it hears of a save whose record write fails.
    *indlan = pedido;
    c_.atual = antes;
    log_.Descarta(logAntesDoRegistro_);
  }
  log_.Envia();
  FechaArquivos();
  marca_.Desmarca();
  return r;
}

int Gravacao::Passos(int32_t* indlan) {
  LancamentoAtual& atual = c_.atual;
  secao_ = c_.objeto.GetNumeroSessao() >> 12;
  if (int r = Verifica(*indlan)) return r;
  mesAno_ = atual.Data.MesAno();
  if (int r = AbreArquivos()) return r;
  if (*indlan > 0) {
    if (int r = LeAnterior(static_cast<uint32_t>(*indlan))) return r;
  }

  uint32_t complemento = 0;
  if (int r = GravaComplemento(c_.objeto.GetPastaEmpresa(), atual.Data, atual.szComplemento,
                               &complemento)) {
    return r;
  }
  atual.ulComplemento = complemento;
  registro_ = NovoRegistro();
  if (alteracao_) {
    // Document management may still refuse the change: nothing but the
    // complement text is written yet.
    const HRESULT hr = NotificaGed(static_cast<uint32_t>(*indlan), registro_, anterior_);
    if (FAILED(hr)) return hr;
    if (c_.objeto.GetIntegracaoGed() != nullptr) gedNotificado_ = static_cast<uint32_t>(*indlan);
    if (int r = DiferencaAnterior(-1)) return r;
    anteriorRetirado_ = true;
  }

  uint32_t posicao = alteracao_ ? static_cast<uint32_t>(*indlan) : 0;
  logAntesDoRegistro_ = log_.Quantos();
  if (int r = lancamentos_.Grava(&registro_, &posicao, kEntryRecordSize)) return r;
  posicao_ = posicao;
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
  if (int r = DiferencaNova(+1)) return r;
  novaSomada_ = true;
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
  return AceitaGravacao(c_.objeto);
}

int Gravacao::AbreArquivos() {
  const std::string& pasta = c_.objeto.GetPastaEmpresa();
  if (int status = marca_.Marca(pasta.c_str(), kMarcaLancamentos, c_.objeto.GetUsuario())) {
    return status;
  }
  const uint16_t mes = mesAno_.Value();
  if (int status =
          AbreArquivoMes(lancamentos_, pasta, kPrefixoLancamentos, mes, 'G', kEntryRecordSize)) {
    return status;
  }
  if (int status = GaranteRegistroZero(lancamentos_, kEntryRecordSize)) return status;
  if (int status =
          AbreArquivoMes(gerencial_, pasta, kPrefixoGerencial, mes, 'G', kSplitRecordSize)) {
    return status;
  }
  if (int status = GaranteRegistroZero(gerencial_, kSplitRecordSize)) return status;
  comQuantidades_ = c_.objeto.GetUsaQuantidadeGerencial();
  if (!comQuantidades_) return ARQ_OK;
  return AbreArquivoMes(quantidades_, pasta, kPrefixoQuantidades, mes, 'G', kQuantityRecordSize);
}

int Gravacao::LeAnterior(uint32_t indlan) {
  if (int status = lancamentos_.Le(indlan, &anterior_)) return status;
  // A deleted entry gave back its differences and split lines when it was
  // removed; writing over it would take them off a second time.
  if (anterior_.cStatus == kEntryDeleted) return kMensagemLancamentoExcluido;
  alteracao_ = true;
  gerencialAnterior_ = anterior_.Gerencial > 0 ? static_cast<uint32_t>(anterior_.Gerencial) : 0;
  log_.Lancamento(static_cast<int32_t>(indlan), kLogAntes, anterior_, c_.atual.szComplemento,
                  DataDoLancamento(mesAno_.Value(), anterior_.cDia), std::nullopt);
  servico_ = kLogAlteracao;
  return ARQ_OK;
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
  CQXarq moeda;
  if (int status = AbreArquivoMes(moeda, c_.objeto.GetPastaEmpresa(), kPrefixoMoeda,
                                  mesAno_.Value(), 'G', kCurrencyRecordSize)) {
    return status;
  }
  // The amount an update writes over, to write it back should the save fail.
  if (alteracao_ && anterior_.cStatus == kEntryLiveWithCurrency) {
    moedaAnteriorLida_ = moeda.Le(indlan, &moedaAnterior_) == ARQ_OK;
  }
  uint32_t tamanho = 0;
  int status = moeda.Posiciona('F', 0, &tamanho);
  // Entries before this one that have no amount get zero records.
  const CurrencyRecord zero{};
  for (uint32_t k = std::max<uint32_t>(tamanho / kCurrencyRecordSize, 1);
       status == ARQ_OK && k < indlan; ++k) {
    uint32_t posicao = k;
    status = moeda.Grava(&zero, &posicao, kCurrencyRecordSize);
  }
  if (status == ARQ_OK) {
    CurrencyRecord valor{};
    valor.ValorMoeda = c_.atual.ValorMoeda;
    uint32_t posicao = indlan;
    status = moeda.Grava(&valor, &posicao, kCurrencyRecordSize);
  }
  const int fechamento = moeda.Fecha();
  return status != ARQ_OK ? status : fechamento;
}

// An update takes the replaced record's amounts off before it writes the new
// record and adds the new amounts after, so whenever a save stops, the totals
// lack at most the amount of the one entry record that is stored.
int Gravacao::DiferencaAnterior(int sinal) const {
  return c_.objeto.AtualizaDiferencaLancamento(
      anterior_.Debito, anterior_.Credito, anterior_.Valor,
      DataDoLancamento(mesAno_.Value(), anterior_.cDia), anterior_.Filial,
      c_.objeto.GetUsuario(), sinal);
}

int Gravacao::DiferencaNova(int sinal) const {
  return c_.objeto.AtualizaDiferencaLancamento(registro_.Debito, registro_.Credito, registro_.Valor,
                                               c_.atual.Data, registro_.Filial,
                                               c_.objeto.GetUsuario(), sinal);
}

int Gravacao::FechaArquivos() {
  // Files closed already (or never opened) close as nothing done.
  const auto fecha = [](CQXarq& arq) { return arq.IsOpen() ? arq.Fecha() : ARQ_OK; };
  int status = fecha(lancamentos_);
  const int gerencial = fecha(gerencial_);
  const int quantidades = fecha(quantidades_);
  if (status == ARQ_OK) status = gerencial;
  if (status == ARQ_OK) status = quantidades;
  return status;
}

}  // namespace qx
