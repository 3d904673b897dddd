// The filter setters: each stores its value as given; the searches judge
// the values. None of them can fail.
#include <algorithm>
#include <cstring>
#include <string>

#include "lancamento/lancamento_base.h"
#include "platform/bstr.h"

HRESULT CLancamentoBase::SetDocumentoInicial(int32_t DocumentoInicial) {
  m_consulta.filtro.DocumentoInicial = DocumentoInicial;
  return S_OK;
}

HRESULT CLancamentoBase::SetDocumentoFinal(int32_t DocumentoFinal) {
  m_consulta.filtro.DocumentoFinal = DocumentoFinal;
  return S_OK;
}

HRESULT CLancamentoBase::SetChaveInicial(int32_t ChaveInicial) {
  m_consulta.filtro.ChaveInicial = ChaveInicial;
  return S_OK;
}

HRESULT CLancamentoBase::SetChaveFinal(int32_t ChaveFinal) {
  m_consulta.filtro.ChaveFinal = ChaveFinal;
  return S_OK;
}

HRESULT CLancamentoBase::SetMesInicial(uint16_t MesInicial) {
  m_consulta.filtro.MesInicial = MesInicial;
  return S_OK;
}

HRESULT CLancamentoBase::SetMesFinal(uint16_t MesFinal) {
  m_consulta.filtro.MesFinal = MesFinal;
  return S_OK;
}

HRESULT CLancamentoBase::SetDataInicial(ULONG DataInicial) {
  m_consulta.filtro.DataInicial = DataInicial;
  return S_OK;
}

HRESULT CLancamentoBase::SetDataFinal(ULONG DataFinal) {
  m_consulta.filtro.DataFinal = DataFinal;
  return S_OK;
}

HRESULT CLancamentoBase::SetValorInicial(CURRENCY ValorInicial) {
  m_consulta.filtro.ValorInicial = ValorInicial;
  return S_OK;
}

HRESULT CLancamentoBase::SetValorFinal(CURRENCY ValorFinal) {
  m_consulta.filtro.ValorFinal = ValorFinal;
  return S_OK;
}

HRESULT CLancamentoBase::SetConta(int32_t Conta) {
  m_consulta.filtro.Conta = Conta;
  return S_OK;
}

HRESULT CLancamentoBase::SetHistoricoFiltro(uint16_t Historico) {
  m_consulta.filtro.Historico = Historico;
  return S_OK;
}

HRESULT CLancamentoBase::SetUsuarioFiltro(uint16_t iUsuario) {
  m_consulta.filtro.iUsuario = iUsuario;
  return S_OK;
}

HRESULT CLancamentoBase::SetContaGerencial(int32_t iConta) {
  m_consulta.filtro.ContaGerencial = iConta;
  return S_OK;
}

HRESULT CLancamentoBase::SetSessao(int32_t lSessao) {
  m_consulta.filtro.Sessao = lSessao;
  return S_OK;
}

HRESULT CLancamentoBase::SetComplementoFiltro(BSTR Complemento) {
  const std::string texto = qx::BstrToCp1252(Complemento);
  char* destino = m_consulta.filtro.Complemento;
  const size_t tamanho = std::min(texto.size(), qx::kTamanhoComplementoFiltro);
  std::memcpy(destino, texto.data(), tamanho);
  destino[tamanho] = '\0';
  return S_OK;
}

HRESULT CLancamentoBase::SetFiltroOrigem(REG_FILTRO_LAN RegFiltro) {
  std::memset(RegFiltro.cFiller, 0, sizeof(RegFiltro.cFiller));
  m_consulta.filtro.Origem = RegFiltro;
  return S_OK;
}

HRESULT CLancamentoBase::LimpaFiltro() {
  m_consulta.filtro = qx::FiltroLancamento{};
  return S_OK;
}
