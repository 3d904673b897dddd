// The list of companies known to the installation: counted by
// GetQuantidadeEmpresas, kept in the object, handed out and freed by
// GetEmpresas.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "contract/busca_codigos.h"
#include "lancamento/lancamento_base.h"
#include "storage/folders/folders.h"

namespace {

// Companies count when their key has this folder value.
constexpr char kValorPastaEmpresa[] = "DF";

}  // namespace

HRESULT CLancamentoBase::GetQuantidadeEmpresas(ULONG* Quantidade) {
  if (Quantidade == nullptr) return E_POINTER;
  *Quantidade = 0;
  std::vector<std::string> codigos;
  if (!qx::CompanyList(kValorPastaEmpresa, &codigos)) {
    m_busca.empresas.reset();
    return S_OK;
  }
  std::vector<EmpresasLancamento> lista(codigos.size());
  for (size_t i = 0; i < codigos.size(); ++i) {
    // A code of 24 characters fills the field without a terminator.
    std::memcpy(lista[i].NomeEmpresa, codigos[i].data(),
                std::min(codigos[i].size(), sizeof(lista[i].NomeEmpresa)));
  }
  *Quantidade = static_cast<ULONG>(lista.size());
  m_busca.empresas = std::move(lista);
  return S_OK;
}

HRESULT CLancamentoBase::GetEmpresas(ULONG Quantidade, EmpresasLancamento* Lista) {
  if (!m_busca.empresas) return qx::kHrSemListaEmpresas;
  // Never more elements than the caller made room for, nor than the list holds.
  const size_t copiar = std::min<size_t>(Quantidade, m_busca.empresas->size());
  if (copiar > 0 && Lista == nullptr) return E_POINTER;
  std::copy_n(m_busca.empresas->begin(), copiar, Lista);
  m_busca.empresas.reset();
  return S_OK;
}
