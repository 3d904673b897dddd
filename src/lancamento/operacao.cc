#include "lancamento/operacao.h"

#include <random>

#include "diagnostics/error_log.h"
#include "lancamento/lancamento_base.h"
#include "outside/change_log/diario_banco.h"
#include "storage/folga_disco.h"

namespace qx {
namespace {

constexpr char kUnidade[] = "LancamentoBase";

// The number of a new operation: random, so that one process's number never
// meets another's, and below 2^63, as the database keeps it.
uint64_t NovoNumero() {
  thread_local std::mt19937_64 gerador = [] {
    std::random_device fonte;
    std::seed_seq semente{fonte(), fonte(), fonte(), fonte()};
    return std::mt19937_64(semente);
  }();
  uint64_t numero = 0;
  while (numero == 0) numero = gerador() >> 1;
  return numero;
}

}  // namespace

int AceitaGravacao(CLancamentoBase& objeto, const Espaco& espaco) {
  const uint64_t banco = EspacoNoBanco(espaco.log);
  if (!CabeNoDisco(objeto.GetPastaEmpresa(), espaco.arquivos + banco, espaco.reserva)) {
    return ARQ_DISCO_CHEIO;
  }
  const HRESULT hr = objeto.AceitaGravacao(banco, espaco.reserva);
  return hr == kDiscoCheio ? ARQ_DISCO_CHEIO : hr;
}

Operacao::Operacao(CLancamentoBase& objeto, char tipo)
    : objeto_(objeto), tipo_(tipo), log_(objeto) {}

Operacao::~Operacao() {
  if (aberta_) Desfaz();
}

int Operacao::Prepara() {
  const std::string& pasta = objeto_.GetPastaEmpresa();
  if (int status = marca_.Marca(pasta.c_str(), kMarcaLancamentos, objeto_.GetUsuario())) {
    return status;
  }
  bool pendente = false;
  if (int status = intencao_.Abre(*marca_.ArquivoDaMarca(), pasta, &pendente)) return status;
  return pendente ? RecuperaPendente(objeto_, intencao_) : ARQ_OK;
}

int Operacao::Inicia() {
  if (int r = Prepara()) return r;
  numero_ = NovoNumero();
  intencao_.Comeca(
      CabecalhoIntencao(numero_, objeto_.GetNumeroSessao(), objeto_.GetUsuario(), tipo_));
  aberta_ = true;
  return ARQ_OK;
}

HRESULT Operacao::Conclui() {
  intencao_.Termina();
  if (const HRESULT hr = log_.Conclui(numero_); FAILED(hr)) return hr;
  aberta_ = false;
  // The change log has it as ended: should the intent stay, its next holder
  // only empties it.
  intencao_.Limpa();
  return S_OK;
}

bool Operacao::Desfaz() {
  intencao_.Termina();
  if (!aberta_) return true;
  std::vector<ArquivoDesfeito> arquivos;
  if (const int status = intencao_.Desfaz(&arquivos)) {
    QXGravaLogStatus(&objeto_, "CLancamentoBase::DesfazOperacao", kUnidade, __LINE__,
                     "intencao.Desfaz(&arquivos)", "iRetorno", status, QXHresultDoStatus(status));
    return false;
  }
  aberta_ = false;
  // Should it stay, the next holder undoes the same bytes again.
  intencao_.Limpa();
  return true;
}

}  // namespace qx
