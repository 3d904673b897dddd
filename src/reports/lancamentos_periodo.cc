#include "reports/lancamentos_periodo.h"

#include <algorithm>
#include <iterator>

#include "contract/chave_busca.h"
#include "reports/falha.h"
#include "reports/leitura_mes.h"

namespace qx {
namespace {

// A search's keys hold a month's offset from the search's first month in a
// signed byte: a longer period is searched in spans of this many months.
constexpr int kMesesPorBusca = 120;

// The keys of the live entries from `de` to `ate` with `conta` on either side.
std::vector<int32_t> BuscaConta(SessaoLancamento& servico, int32_t conta, CQXData de, CQXData ate,
                                uint16_t filial) {
  Verifica(servico->LimpaFiltro(), "LimpaFiltro");
  Verifica(servico->SetConta(conta), "SetConta");
  if (filial != 0) {
    REG_FILTRO_LAN origem{};
    origem.iFilial = filial;
    Verifica(servico->SetFiltroOrigem(origem), "SetFiltroOrigem");
  }
  int32_t quantidade = 0;
  Verifica(servico->BuscaQtdLancamentos(de.Value(), ate.Value(), &quantidade),
           "BuscaQtdLancamentos");
  return ChavesDaBusca(servico, quantidade);
}

}  // namespace

void PercorreLancamentos(SessaoLancamento& servico, CQXData de, CQXData ate, uint16_t filial,
                         bool complementos, const Visita& visita) {
  if (ate < de) return;
  const uint32_t ultimo = ate.MesAno().Value();
  LancamentoLido lido;
  for (uint32_t m = de.MesAno().Value(); m != 0 && m <= ultimo; ++m) {
    lido.mes = CQXMesAno(m);
    PercorreLancamentosDoMes(servico, lido.mes, complementos, [&](const auto& pagina) {
      for (const LancamentoDoMes& l : pagina) {
        const CQXData data(l.dados.DataLancamento);
        if (l.Excluido() || data < de || ate < data) continue;
        if (filial != 0 && static_cast<uint16_t>(l.dados.Filial) != filial) continue;
        lido.posicao = l.posicao;
        lido.dados = l.dados;
        lido.complemento = l.complemento;
        visita(lido);
      }
    });
  }
}

void PercorreLancamentosDasContas(SessaoLancamento& servico, const std::vector<int32_t>& contas,
                                  CQXData de, CQXData ate, uint16_t filial, const Visita& visita) {
  for (CQXData inicio = de; !inicio.IsEmpty() && !(ate < inicio);) {
    const CQXMesAno base = inicio.MesAno();
    const CQXMesAno ultimoMes = base.Add(kMesesPorBusca - 1);
    const CQXData fim = ultimoMes.IsEmpty()
                            ? ate
                            : std::min(ate, CQXData::FromMesAno(ultimoMes, 1).LastDayOfMonth());
    // A search gives its keys in month and position order, which is theirs
    // as numbers: the accounts' keys are merged, an entry of two of them once.
    std::vector<int32_t> chaves, juntas;
    for (const int32_t conta : contas) {
      const std::vector<int32_t> daConta = BuscaConta(servico, conta, inicio, fim, filial);
      juntas.clear();
      std::set_union(chaves.begin(), chaves.end(), daConta.begin(), daConta.end(),
                     std::back_inserter(juntas));
      chaves.swap(juntas);
    }
    // An entry removed since its search is read as such, and left out.
    for (const LancamentoLido& lido : LeChaves(servico, base, chaves)) {
      if (!lido.excluido) visita(lido);
    }
    inicio = CQXData(fim.Value() + 1);
  }
  Verifica(servico->LimpaFiltro(), "LimpaFiltro");
}

}  // namespace qx
