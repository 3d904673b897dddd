// Creation of the missing months of a period: every month-year of the range
// gets its entry, split and complement files; files that exist stay as they
// are.
#include <cstdint>
#include <string>

#include "diagnostics/error_log.h"
#include "lancamento/lancamento_base.h"
#include "platform/file.h"
#include "storage/arq_status.h"
#include "storage/month_name.h"
#include "storage/qx_arq_ex.h"
#include "storage/records/entry_records.h"
#include "values/qx_mes_ano.h"

namespace {

constexpr char kUnidade[] = "LancamentoBase";
constexpr char kFuncao[] = "CLancamentoBase::CriaArquivosPeriodoAnterior";

// The files of a month that the creation makes, in their order, and the step
// that names each in the error log.
struct ArquivoFaltante {
  const char* prefixo;
  uint32_t tamanhoRegistro;
  const char* passo;
};
constexpr ArquivoFaltante kArquivosFaltantes[] = {
    {qx::kPrefixoLancamentos, qx::kEntryRecordSize,
     "pFun(regContabil, sInicioNomeArquivoContabil, maAtual)"},
    {qx::kPrefixoGerencial, qx::kSplitRecordSize,
     "pFun(regGerencial, sInicioNomeArquivoGerencial, maAtual)"},
    {qx::kPrefixoComplementos, 1, "pFun(cHistorico, sInicioNomeArquivoHistorico, maAtual)"},
};

// Whether the file is there: it opens, or it fails for a reason other than
// its absence (such a file is not made over).
bool ArquivoExiste(const std::string& caminho) {
  CFile arquivo;
  CFileException erro;
  if (arquivo.Open(caminho.c_str(), CFile::modeRead | CFile::shareDenyNone, &erro)) return true;
  return erro.m_cause != CFileException::fileNotFound && erro.m_cause != CFileException::badPath;
}

// Makes one missing file with its zero record; the control file's refusal to
// create a file made once before is passed over. 0 or the failure's HRESULT.
HRESULT CriaArquivoFaltante(IQXDF_Profiler* identidade, const std::string& caminho,
                            uint32_t tamanho) {
  if (ArquivoExiste(caminho)) return S_OK;
  const char zero[qx::kEntryRecordSize] = {};
  CQXArqEx arqAtual;
  int iRetorno = arqAtual.Abre(caminho.c_str(), 'G', tamanho, true, true);
  if (iRetorno == ARQ_NAO_ENCONTRADO) {
    arqAtual.SetUsaArquivoControle(false);
    iRetorno = arqAtual.Abre(caminho.c_str(), 'G', tamanho, true, true);
  }
  const char* passo = "arqAtual.Abre(sNomeMesAtual, 'G', sizeof(reg), TRUE, TRUE)";
  if (iRetorno == ARQ_OK) {
    iRetorno = arqAtual.GravaZero(zero, tamanho);
    passo = "arqAtual.GravaZero(&reg, sizeof(reg))";
  }
  arqAtual.Fecha();
  if (iRetorno == ARQ_OK) return S_OK;
  const HRESULT hr = QXHresultDoStatus(iRetorno);
  QXGravaLogStatus(identidade, kFuncao, kUnidade, __LINE__, passo, "iRetorno", iRetorno, hr);
  return hr;
}

}  // namespace

HRESULT CLancamentoBase::CriaArquivosPeriodoAnterior(uint16_t maPeriodoInicial,
                                                     uint16_t maPeriodoFinal) {
  if (maPeriodoInicial > maPeriodoFinal) return S_OK;
  // Month-years outside 1..34440 name no month (their files would all be
  // the "0000" ones).
  if (maPeriodoInicial == 0 || maPeriodoFinal > CQXMesAno::kLast) {
    QXGravaLogHresult(this, kFuncao, kUnidade, __LINE__, "hr",
                      "CQXMesAno(maPeriodoInicial), CQXMesAno(maPeriodoFinal)", E_INVALIDARG);
    return E_INVALIDARG;
  }
  for (uint32_t maAtual = maPeriodoInicial; maAtual <= maPeriodoFinal; ++maAtual) {
    for (const ArquivoFaltante& arquivo : kArquivosFaltantes) {
      const std::string caminho =
          qx::NomeArquivoMes(m_strPastaEmpresa, arquivo.prefixo, static_cast<uint16_t>(maAtual));
      if (const HRESULT hr = CriaArquivoFaltante(this, caminho, arquivo.tamanhoRegistro);
          hr != S_OK) {
        QXGravaLogHresult(this, kFuncao, kUnidade, __LINE__, "hr", arquivo.passo, hr);
        return hr;
      }
    }
  }
  return S_OK;
}
