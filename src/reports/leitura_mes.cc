#include "reports/leitura_mes.h"

#include "platform/task_memory.h"
#include "reports/falha.h"

namespace qx {
namespace {

constexpr uint32_t kMascaraDono = 0x0FFFFFFF;

// A page handed out by the service, freed with its blocks.
template <class Lista>
struct Pagina {
  Lista* lista = nullptr;
  ~Pagina();
};

template <>
Pagina<REG_LOTE_LISTA_LANCAMENTOS>::~Pagina() {
  if (lista == nullptr) return;
  CoTaskMemFree(lista->pLancamentos);
  CoTaskMemFree(lista->pTextos);
  CoTaskMemFree(lista);
}

template <>
Pagina<REG_LOTE_LISTA_GERENCIAIS>::~Pagina() {
  if (lista == nullptr) return;
  CoTaskMemFree(lista->pLinhas);
  CoTaskMemFree(lista);
}

// The text without its line end, into *texto (whose room is used again).
void SemFimDeLinha(const uint8_t* bytes, size_t tamanho, std::string* texto) {
  texto->assign(reinterpret_cast<const char*>(bytes), tamanho);
  while (!texto->empty() && (texto->back() == '\r' || texto->back() == '\n')) texto->pop_back();
}

// Pages from position 1 until the last position the month holds; `le` reads
// one page from a position and gives the next one.
template <class Le>
void PorPaginas(Le&& le) {
  int32_t ultima = 0;
  for (int32_t inicio = 1; inicio == 1 || inicio <= ultima;) inicio = le(inicio, &ultima);
}

// The entries of a page the service handed out into *lidos (whose texts'
// room is used again); the month's last position.
int32_t Decodifica(const REG_LOTE_LISTA_LANCAMENTOS& resposta,
                   std::vector<LancamentoDoMes>* lidosPagina) {
  std::vector<LancamentoDoMes>& lidos = *lidosPagina;
  // The page's entries take the places of the last page's, texts and all.
  lidos.resize(resposta.ulQtde);
  for (uint32_t i = 0; i < resposta.ulQtde; ++i) {
    const REG_LOTE_LANCAMENTO_LIDO& r = resposta.pLancamentos[i];
    LancamentoDoMes& l = lidos[i];
    l.posicao = r.lPosicao;
    l.status = r.cStatus;
    l.dados = r.Dados;
    l.complemento.clear();
    if (r.usTamanhoComplemento > 0) {
      SemFimDeLinha(resposta.pTextos + r.ulInicioComplemento, r.usTamanhoComplemento,
                    &l.complemento);
    }
  }
  return resposta.lUltimaPosicao;
}

// The month's entries of one page, from position `inicio`, into *lidos; the
// month's last position.
int32_t LePagina(SessaoLancamento& servico, CQXMesAno mes, int32_t inicio, int32_t quantidade,
                 bool complementos, std::vector<LancamentoDoMes>* lidos) {
  Pagina<REG_LOTE_LISTA_LANCAMENTOS> resposta;
  Verifica(servico.Lote()->LeLancamentosFaixa(static_cast<uint16_t>(mes.Value()), inicio,
                                              quantidade, complementos ? 1 : 0, &resposta.lista),
           "LeLancamentosFaixa");
  return Decodifica(*resposta.lista, lidos);
}

}  // namespace

void PercorreLancamentosDoMes(
    SessaoLancamento& servico, CQXMesAno mes, bool complementos,
    const std::function<void(const std::vector<LancamentoDoMes>&)>& pagina) {
  std::vector<LancamentoDoMes> lidos;
  PorPaginas([&](int32_t inicio, int32_t* ultima) {
    *ultima = LePagina(servico, mes, inicio, kLancamentosPorPagina, complementos, &lidos);
    if (!lidos.empty()) pagina(lidos);
    // Entries of inactive branches are left out: the page ends where it was asked to.
    return inicio + kLancamentosPorPagina;
  });
}

void LancamentosDasChaves(SessaoLancamento& servico, CQXMesAno base, std::vector<int32_t>& chaves,
                          std::vector<LancamentoDoMes>* lidos) {
  Pagina<REG_LOTE_LISTA_LANCAMENTOS> resposta;
  Verifica(servico.Lote()->LeLancamentosChaves(static_cast<uint16_t>(base.Value()),
                                               static_cast<int32_t>(chaves.size()), chaves.data(),
                                               1, &resposta.lista),
           "LeLancamentosChaves");
  Decodifica(*resposta.lista, lidos);
}

std::vector<LancamentoDoMes> LancamentosDoMes(SessaoLancamento& servico, CQXMesAno mes,
                                              bool complementos) {
  std::vector<LancamentoDoMes> todos;
  PercorreLancamentosDoMes(servico, mes, complementos, [&](const auto& pagina) {
    todos.insert(todos.end(), pagina.begin(), pagina.end());
  });
  return todos;
}

void PercorreGerenciaisDoMes(
    SessaoLancamento& servico, CQXMesAno mes,
    const std::function<void(const std::vector<LinhaGerencialDoMes>&)>& pagina) {
  IQXCN_LancamentoLote* lote = servico.Lote();
  const auto mesAno = static_cast<uint16_t>(mes.Value());
  std::vector<LinhaGerencialDoMes> lidas;
  PorPaginas([&](int32_t inicio, int32_t* ultima) {
    Pagina<REG_LOTE_LISTA_GERENCIAIS> resposta;
    Verifica(lote->LeGerenciaisFaixa(mesAno, inicio, kLinhasGerenciaisPorPagina, &resposta.lista),
             "LeGerenciaisFaixa");
    *ultima = resposta.lista->lUltimaPosicao;
    lidas.clear();
    for (uint32_t i = 0; i < resposta.lista->ulQtde; ++i) {
      const REG_LOTE_GERENCIAL_LIDO& r = resposta.lista->pLinhas[i];
      lidas.push_back({r.lPosicao, r.Linha, r.Quantidade.Quantidade});
    }
    if (!lidas.empty()) pagina(lidas);
    return inicio + kLinhasGerenciaisPorPagina;
  });
}

std::vector<LinhaGerencialDoMes> GerenciaisDoMes(SessaoLancamento& servico, CQXMesAno mes) {
  std::vector<LinhaGerencialDoMes> todas;
  PercorreGerenciaisDoMes(servico, mes, [&](const auto& pagina) {
    todas.insert(todas.end(), pagina.begin(), pagina.end());
  });
  return todas;
}

std::map<int32_t, std::vector<LinhaGerencialDoMes>> RateiosDoMes(
    const std::vector<LancamentoDoMes>& lancamentos,
    const std::vector<LinhaGerencialDoMes>& linhas) {
  // The lines come in position order from 1: line p at index p - 1, unless
  // the file holds fewer.
  std::map<int32_t, std::vector<LinhaGerencialDoMes>> rateios;
  for (const LancamentoDoMes& l : lancamentos) {
    const int32_t primeira = l.dados.Gerencial;
    if (l.Excluido() || primeira <= 0 || static_cast<size_t>(primeira) > linhas.size() ||
        linhas[primeira - 1].posicao != primeira) {
      continue;
    }
    const uint32_t dono = static_cast<uint32_t>(linhas[primeira - 1].linha.Indlan) & kMascaraDono;
    std::vector<LinhaGerencialDoMes>& cadeia = rateios[l.posicao];
    for (size_t i = static_cast<size_t>(primeira) - 1; i < linhas.size(); ++i) {
      if ((static_cast<uint32_t>(linhas[i].linha.Indlan) & kMascaraDono) != dono) break;
      cadeia.push_back(linhas[i]);
    }
  }
  return rateios;
}

}  // namespace qx
