// The change-log batch of a save or removal, and GravaLog, which sends one
// entry change on its own.
#include "lancamento/gravacao/lote_log.h"

#include <cstring>

#include "diagnostics/error_log.h"
#include "lancamento/gravacao/registro_log.h"
#include "lancamento/lancamento_base.h"

namespace qx {
namespace {

constexpr char kUnidade[] = "LancamentoBase";
constexpr char kFuncaoLog[] = "CLancamentoBase::GravaLog";

// A code of -1 has already been reported by the service that gave it.
void Falha(CLancamentoBase& objeto, const char* funcao, int linhaFonte, const char* passo,
           HRESULT hr) {
  if (hr != static_cast<HRESULT>(0xFFFFFFFFu)) {
    QXGravaLogHresult(&objeto, funcao, kUnidade, linhaFonte, "hr", passo, hr);
  }
}

}  // namespace

void LoteLog::Lancamento(int32_t chave, char servico, const EntryRecord& registro,
                         const char* complemento, CQXData data, std::optional<int64_t> valorMoeda) {
  const RegLanAtual imagem = ImagemLog(registro, data);
  itens_.push_back(
      {chave, kLogTipoLancamento, servico,
       std::string(reinterpret_cast<const char*>(&imagem), sizeof imagem), valorMoeda, std::nullopt,
       kFuncaoLog, __LINE__,
       "pILog->Grava(GetNumeroSessao(),chave,24,servico,sizeof(RegLanAtual),RegTmpLog)", true});
  itens_.push_back(
      {chave, kLogTipoComplemento, servico, complemento != nullptr ? complemento : "", std::nullopt,
       std::nullopt, kFuncaoLog, __LINE__,
       "pILog->Grava(GetNumeroSessao(),chave,8,servico,strlen(complemento), RegTmpCpl)", false});
}

void LoteLog::Gerencial(int32_t chave, char servico, const REGLAN_GER& linha,
                        std::optional<int64_t> quantidade, const char* funcao, int linhaFonte,
                        const char* expressao) {
  itens_.push_back({chave, kLogTipoGerencial, servico,
                    std::string(reinterpret_cast<const char*>(&linha), sizeof linha), std::nullopt,
                    quantidade, funcao, linhaFonte, expressao, true});
}

void LoteLog::FalhaServico(HRESULT hr) const {
  for (const Item& item : itens_) {
    if (item.primeiro) {
      Falha(objeto_, item.funcao, __LINE__, "GetAcessoEmpresarial()->GetIDFLog(pILog)", hr);
    }
  }
}

std::vector<::RegistroLog> LoteLog::Registros() const {
  std::vector<::RegistroLog> registros;
  registros.reserve(itens_.size());
  for (const Item& item : itens_) {
    registros.push_back({item.chave, item.tipo, item.servico,
                         static_cast<uint32_t>(item.dados.size()), item.dados.data(),
                         item.valorMoeda, item.quantidade});
  }
  return registros;
}

void LoteLog::Envia() {
  if (itens_.empty()) return;
  CQXComPtr<IQXDF_Log> pILog;
  const HRESULT hr = objeto_.GetAcessoEmpresarial()->GetIDFLog(pILog);
  if (FAILED(hr) || !pILog) {
    FalhaServico(FAILED(hr) ? hr : E_POINTER);
    itens_.clear();
    return;
  }
  const std::vector<::RegistroLog> registros = Registros();
  std::vector<HRESULT> resultados(itens_.size());
  pILog->GravaVarios(objeto_.GetNumeroSessao(), registros.data(), registros.size(),
                     resultados.data());
  for (size_t i = 0; i < itens_.size(); ++i) {
    const Item& item = itens_[i];
    if (FAILED(resultados[i])) Falha(objeto_, item.funcao, item.linhaFonte, item.expressao, resultados[i]);
  }
  itens_.clear();
}

HRESULT LoteLog::Conclui(uint64_t operacao) {
  CQXComPtr<IQXDF_Log> pILog;
  HRESULT hr = objeto_.GetAcessoEmpresarial()->GetIDFLog(pILog);
  if (FAILED(hr) || !pILog) {
    hr = FAILED(hr) ? hr : E_POINTER;
    FalhaServico(hr);
    return hr;
  }
  const std::vector<::RegistroLog> registros = Registros();
  hr = pILog->ConcluiOperacao(objeto_.GetNumeroSessao(), operacao, registros.data(),
                              registros.size());
  if (FAILED(hr)) {
    Falha(objeto_, "CLancamentoBase::ConcluiOperacao", __LINE__,
          "pILog->ConcluiOperacao(GetNumeroSessao(), operacao, registros)", hr);
    return hr;
  }
  itens_.clear();
  return S_OK;
}

}  // namespace qx

void CLancamentoBase::GravaLog(int32_t chave, char servico, const qx::EntryRecord& registro,
                               const char* complemento, CQXData data) {
  qx::LoteLog lote(*this);
  lote.Lancamento(chave, servico, registro, complemento, data, std::nullopt);
  lote.Envia();
}
