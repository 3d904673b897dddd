// The operations on whole months: creation (emptying), removal and counts of
// a month's entry, split and complement files.
#include <algorithm>
#include <iterator>
#include <string>

#include "diagnostics/error_log.h"
#include "lancamento/lancamento_base.h"
#include "platform/file.h"
#include "storage/month_name.h"
#include "storage/qx_arq.h"
#include "storage/records/entry_records.h"
#include "values/qx_dmcps.h"

namespace {

constexpr char kUnidade[] = "LancamentoBase";

// The files a month's creation and removal work on, in their order, with the
// zero record that a creation writes.
struct ArquivoDoMes {
  const char* prefixo;
  uint32_t tamanhoRegistro;
  char byteZero;
};
constexpr ArquivoDoMes kArquivosDoMes[] = {
    {qx::kPrefixoLancamentos, qx::kEntryRecordSize, '\0'},
    {qx::kPrefixoGerencial, qx::kSplitRecordSize, '\0'},
    {qx::kPrefixoComplementos, 1, qx::kComplementZeroByte},
};

struct Falha {
  int status;         // ARQ_OK when the file was made
  const char* passo;  // the step that failed
};

// Empties one file down to its zero record.
Falha CriaVazio(const std::string& caminho, const ArquivoDoMes& arquivo) {
  char zero[qx::kEntryRecordSize];
  std::fill(std::begin(zero), std::end(zero), arquivo.byteZero);
  CQXarq arq;
  if (int status = arq.Abre(caminho.c_str(), 'C', arquivo.tamanhoRegistro, true)) {
    return {status, "iRetorno = arq.Abre()"};
  }
  uint32_t posicao = 0;
  const int gravacao = arq.Grava(zero, &posicao, arquivo.tamanhoRegistro);
  const int fechamento = arq.Fecha();
  if (gravacao != ARQ_OK) return {gravacao, "iRetorno = arq.Grava()"};
  if (fechamento != ARQ_OK) return {fechamento, "iRetorno = arq.Fecha()"};
  return {ARQ_OK, ""};
}

// The split lines of the chain that starts at `primeira`.
int32_t LinhasDaCadeia(CQXarq& gerencial, uint32_t primeira) {
  REGLAN_GER linha;
  if (gerencial.Le(primeira, &linha) != ARQ_OK) return 0;
  const uint32_t dono = linha.Indlan & qx::kSplitOwnerMask;
  int32_t linhas = 0;
  for (uint32_t p = primeira;
       gerencial.Le(p, &linha) == ARQ_OK && (linha.Indlan & qx::kSplitOwnerMask) == dono; ++p) {
    ++linhas;
  }
  return linhas;
}

}  // namespace

HRESULT CLancamentoBase::CriaArquivoMes(uint16_t iMesAno) {
  for (const ArquivoDoMes& arquivo : kArquivosDoMes) {
    const Falha falha =
        CriaVazio(qx::NomeArquivoMes(m_strPastaEmpresa, arquivo.prefixo, iMesAno), arquivo);
    if (falha.status != ARQ_OK) {
      // The first failing status, in the failure form, so that the caller sees it.
      const HRESULT hr = QXHresultDoStatus(falha.status);
      QXGravaLogStatus(this, "CLancamentoBase::CriaArquivoMes", kUnidade, __LINE__, falha.passo,
                       "iRetorno", falha.status, hr);
      return hr;
    }
  }
  return S_OK;
}

HRESULT CLancamentoBase::ApagaArquivoMes(uint16_t iMesAno) {
  for (const ArquivoDoMes& arquivo : kArquivosDoMes) {
    CFile::Remove(qx::NomeArquivoMes(m_strPastaEmpresa, arquivo.prefixo, iMesAno).c_str());
  }
  return S_OK;
}

HRESULT CLancamentoBase::PegaQuantidadeRegistros(uint16_t iMesAno, int32_t* lQtdLancamentos,
                                                 int32_t* lQtdExcluidos, int32_t* lQtdGerenciais,
                                                 int32_t* lQtdImportados) {
  if (lQtdLancamentos == nullptr || lQtdExcluidos == nullptr || lQtdGerenciais == nullptr ||
      lQtdImportados == nullptr) {
    return E_POINTER;
  }
  CQXarq lancamentos;
  int status = lancamentos.Abre(
      qx::NomeArquivoMes(m_strPastaEmpresa, qx::kPrefixoLancamentos, iMesAno).c_str(), 'L',
      qx::kEntryRecordSize, true);
  if (status != ARQ_OK) return status;
  CQXarq gerencial;
  status =
      gerencial.Abre(qx::NomeArquivoMes(m_strPastaEmpresa, qx::kPrefixoGerencial, iMesAno).c_str(),
                     'L', qx::kSplitRecordSize, true);
  if (status != ARQ_OK) return status;

  int32_t total = 0, excluidos = 0, gerenciais = 0, importados = 0;
  qx::EntryRecord registro;
  // Only the end of the file ends the count: a month that cannot be read is
  // no shorter month.
  for (uint32_t p = 1; (status = lancamentos.Le(p, &registro)) == ARQ_OK; ++p) {
    ++total;
    if (registro.cStatus == qx::kEntryDeleted) {
      ++excluidos;
    } else if (registro.Gerencial > 0) {
      gerenciais += LinhasDaCadeia(gerencial, static_cast<uint32_t>(registro.Gerencial));
    }
    if (registro.lChaveModulo > 0 && qx::OriginModule(registro.lChaveModulo) == qx::kImportModule) {
      ++importados;
    }
  }
  lancamentos.Fecha();
  gerencial.Fecha();
  if (status != ARQ_FIM_DE_ARQUIVO) return status;
  *lQtdLancamentos = total;
  *lQtdExcluidos = excluidos;
  *lQtdGerenciais = gerenciais;
  *lQtdImportados = importados;
  return S_OK;
}
