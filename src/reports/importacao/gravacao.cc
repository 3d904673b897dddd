#include "reports/importacao/gravacao.h"

#include <algorithm>

#include "platform/bstr.h"
#include "reports/falha.h"

namespace qx {
namespace {

// The lines [inicio, fim) of `indices` as GravaLote takes them.
struct Pagina {
  std::vector<REG_LOTE_LANCAMENTO> lancamentos;
  std::vector<REG_LOTE_GERENCIAL> gerenciais;
  std::vector<unsigned char> textos;

  void Acrescenta(const LinhaImportada& linha) {
    REG_LOTE_LANCAMENTO l{};
    l.Dados = linha.dados;
    l.ulInicioComplemento = static_cast<uint32_t>(textos.size());
    l.usTamanhoComplemento = static_cast<uint16_t>(linha.complemento.size());
    l.usQtdGerencial = static_cast<uint16_t>(linha.rateio.size());
    textos.insert(textos.end(), linha.complemento.begin(), linha.complemento.end());
    for (size_t k = 0; k < linha.rateio.size(); ++k) {
      REG_LOTE_GERENCIAL g{};
      g.Linha = linha.rateio[k];
      if (k < linha.quantidades.size()) g.Quantidade = linha.quantidades[k];
      gerenciais.push_back(g);
    }
    lancamentos.push_back(l);
  }
};

void PorLote(IQXCN_LancamentoLote* lote, const std::vector<const LinhaImportada*>& linhas,
             const Gravacao& gravacao) {
  // The lines still to save, in order; a refused one leaves the list.
  std::vector<size_t> faltam(linhas.size());
  for (size_t i = 0; i < faltam.size(); ++i) faltam[i] = i;
  size_t inicio = 0;
  while (inicio < faltam.size() && gravacao.continua()) {
    const size_t fim = std::min(faltam.size(), inicio + kLinhasPorChamada);
    Pagina pagina;
    for (size_t j = inicio; j < fim; ++j) pagina.Acrescenta(*linhas[faltam[j]]);
    std::vector<int32_t> posicoes(fim - inicio);
    int32_t falha = -1;
    const HRESULT hr = lote->GravaLote(
        static_cast<int32_t>(posicoes.size()), pagina.lancamentos.data(),
        static_cast<int32_t>(pagina.gerenciais.size()), pagina.gerenciais.data(),
        static_cast<int32_t>(pagina.textos.size()), pagina.textos.data(), posicoes.data(), &falha);
    if (hr == S_OK) {
      for (size_t j = inicio; j < fim; ++j) gravacao.gravada(faltam[j], posicoes[j - inicio]);
      inicio = fim;
      continue;
    }
    // Entries the service could not take back stay saved, and are told.
    for (size_t j = inicio; j < fim; ++j) {
      if (posicoes[j - inicio] > 0) gravacao.gravada(faltam[j], posicoes[j - inicio]);
    }
    if (falha < 0 || static_cast<size_t>(falha) >= fim - inicio) {
      gravacao.recusada(SIZE_MAX, hr);
      return;
    }
    const size_t recusada = inicio + static_cast<size_t>(falha);
    if (!gravacao.recusada(faltam[recusada], hr)) return;
    // The page again without the refused line (and without what stayed saved).
    std::vector<size_t> restantes(faltam.begin(), faltam.begin() + static_cast<ptrdiff_t>(inicio));
    for (size_t j = inicio; j < faltam.size(); ++j) {
      if (j != recusada && (j >= fim || posicoes[j - inicio] <= 0)) restantes.push_back(faltam[j]);
    }
    faltam = std::move(restantes);
  }
}

// What the published interface's object holds for the next save, as this
// import left it.
struct Estado {
  bool conhecido = true;  // false after a failed call: everything is sent again
  std::string complemento;
  bool temRateio = false;
  bool temQuantidades = false;
};

HRESULT UmAUm(SessaoLancamento& servico, const LinhaImportada& l, Estado* estado, int32_t* indlan) {
  HRESULT hr = S_OK;
  if (!estado->conhecido || l.complemento != estado->complemento) {
    const UniqueBstr texto(BstrFromCp1252(l.complemento));
    hr = servico->SetComplemento(texto.get());
    estado->complemento = l.complemento;
  }
  // Setting a split replaces the one before; only a line without split after
  // one with it clears it.
  const auto linhas = static_cast<uint16_t>(l.rateio.size());
  if (SUCCEEDED(hr) && (linhas > 0 || estado->temRateio || !estado->conhecido)) {
    hr = servico->SetLancamentoGerencial(linhas, const_cast<RegLan_Ger*>(l.rateio.data()));
    estado->temRateio = linhas > 0;
  }
  // Missing quantities are 0, as are zero ones.
  const bool quantidades = std::any_of(l.quantidades.begin(), l.quantidades.end(),
                                       [](const RegQtd_Ger& q) { return q.Quantidade.int64 != 0; });
  if (SUCCEEDED(hr) && (quantidades || estado->temQuantidades || !estado->conhecido)) {
    const auto n = static_cast<uint16_t>(quantidades ? l.quantidades.size() : 0);
    hr = servico->SetQuantidadeGerencial(n, const_cast<RegQtd_Ger*>(l.quantidades.data()));
    estado->temQuantidades = quantidades;
  }
  *indlan = 0;
  RegDados dados = l.dados;
  if (SUCCEEDED(hr)) hr = servico->GravaDados(&dados, indlan);
  estado->conhecido = SUCCEEDED(hr);
  return hr;
}

}  // namespace

void GravaLinhas(SessaoLancamento& servico, bool porLote,
                 const std::vector<const LinhaImportada*>& linhas, const Gravacao& gravacao) {
  if (porLote) {
    void* lote = nullptr;
    if (SUCCEEDED(servico->QueryInterface(IID_IQXCN_LancamentoLote, &lote))) {
      PorLote(static_cast<IQXCN_LancamentoLote*>(lote), linhas, gravacao);
      static_cast<IQXCN_LancamentoLote*>(lote)->Release();
      return;
    }
  }
  Estado estado;
  for (size_t i = 0; i < linhas.size() && gravacao.continua(); ++i) {
    int32_t indlan = 0;
    const HRESULT hr = UmAUm(servico, *linhas[i], &estado, &indlan);
    if (SUCCEEDED(hr)) {
      gravacao.gravada(i, indlan);
    } else if (!gravacao.recusada(i, hr)) {
      return;
    }
  }
}

}  // namespace qx
