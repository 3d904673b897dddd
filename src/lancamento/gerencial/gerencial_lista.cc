// The current entry's split lines and quantities as clients hand them in and
// take them out. No file is touched here: the save writes the lists and
// LeGerencial fills them.
#include <algorithm>
#include <iterator>
#include <vector>

#include "diagnostics/errno_codes.h"
#include "lancamento/entrada_cliente.h"
#include "lancamento/lancamento_base.h"
#include "platform/invalid_parameter.h"

namespace {

RegLan_Ger ParaCliente(const REGLAN_GER& linha) {
  RegLan_Ger registro{};
  registro.Valor = linha.Valor;
  registro.Indlan = static_cast<int32_t>(linha.Indlan);
  registro.ContaGerencial = linha.ContaGerencial;
  registro.ContaContabil = linha.ContaContabil;
  return registro;
}

RegQtd_Ger ParaCliente(const REGQTD_GER& quantidade) { return RegQtd_Ger{quantidade.Quantidade}; }

// Copies the first iQtd elements of the list out, then empties the list. The
// caller's buffer holds iQtd elements, so asking for more than the list holds
// is a rejected argument: it goes through the invalid-parameter handler
// (which the call frame turns into its code) and leaves the list as it was.
template <class Interno, class Externo>
HRESULT CopiaParaFora(std::vector<Interno>* lista, uint16_t iQtd, Externo* destino,
                      const char16_t* funcao) {
  if (iQtd > lista->size()) {
    qx::InvalidParameter(u"iQtd <= lista.size()", funcao, u"gerencial_lista.cc", __LINE__);
    return qx::HresultFromCurrentErrno();
  }
  if (iQtd > 0 && destino == nullptr) return E_POINTER;
  std::transform(lista->begin(), lista->begin() + iQtd, destino,
                 [](const Interno& elemento) { return ParaCliente(elemento); });
  lista->clear();
  return S_OK;
}

// Replaces the list by the iQtd elements of the client.
template <class Interno, class Externo>
HRESULT CopiaParaDentro(std::vector<Interno>* lista, uint16_t iQtd, const Externo* origem) {
  if (iQtd > 0 && origem == nullptr) return E_POINTER;
  std::vector<Interno> nova;
  nova.reserve(iQtd);
  std::transform(origem, origem + iQtd, std::back_inserter(nova),
                 [](const Externo& elemento) { return qx::DoCliente(elemento); });
  *lista = std::move(nova);
  return S_OK;
}

}  // namespace

HRESULT CLancamentoBase::GetLancamentoGerencial(uint16_t iQtd, RegLan_Ger* pGer) {
  return CopiaParaFora(&m_gerencial.linhas, iQtd, pGer, u"CLancamentoBase::GetLancamentoGerencial");
}

HRESULT CLancamentoBase::SetLancamentoGerencial(uint16_t iQtd, RegLan_Ger* RegLanGer) {
  return CopiaParaDentro(&m_gerencial.linhas, iQtd, RegLanGer);
}

HRESULT CLancamentoBase::ZeraLancamentoGerencial() {
  m_gerencial.linhas.clear();
  return S_OK;
}

HRESULT CLancamentoBase::TemGerencial(int32_t* b) {
  if (b == nullptr) return E_POINTER;
  *b = m_lancamento.ulGerencial > 0 ? 1 : 0;
  return S_OK;
}

HRESULT CLancamentoBase::GetQuantidadeGerencial(uint16_t iQtd, RegQtd_Ger* pQtdGer) {
  return CopiaParaFora(&m_gerencial.quantidades, iQtd, pQtdGer,
                       u"CLancamentoBase::GetQuantidadeGerencial");
}

HRESULT CLancamentoBase::SetQuantidadeGerencial(uint16_t iQtd, RegQtd_Ger* RegQtdGer) {
  return CopiaParaDentro(&m_gerencial.quantidades, iQtd, RegQtdGer);
}

HRESULT CLancamentoBase::ZeraQuantidadeGerencial() {
  m_gerencial.quantidades.clear();
  return S_OK;
}
