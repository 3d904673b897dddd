#include "reports/leitura.h"

#include <algorithm>
#include <map>

#include "diagnostics/profiler_identity.h"
#include "entries/entry_messages.h"
#include "platform/bstr.h"
#include "platform/codepage.h"
#include "reports/falha.h"

namespace qx {
namespace {

// A complement as people read it: without its closing carriage return.
std::string SemFimDeLinha(std::string texto) {
  while (!texto.empty() && (texto.back() == '\r' || texto.back() == '\n')) texto.pop_back();
  return texto;
}

// In pages well under the frame limit: an entry with its complement is 576
// bytes, without it 64.
constexpr size_t kPaginaComComplementos = 4096;
constexpr size_t kPaginaSemComplementos = 16384;

// The entries at `posicoes` of one month, in that order.
void LeDoMes(SessaoLancamento& servico, CQXMesAno mes, std::vector<Lancamentos> posicoes,
             bool complementos, const Visita& visita) {
  if (posicoes.empty()) return;
  const MesAberto aberto(servico, mes);
  const size_t pagina = complementos ? kPaginaComComplementos : kPaginaSemComplementos;
  LancamentoLido lido;
  lido.mes = mes;
  for (size_t inicio = 0; inicio < posicoes.size(); inicio += pagina) {
    const size_t quantas = std::min(pagina, posicoes.size() - inicio);
    Lancamentos* chaves = posicoes.data() + inicio;
    if (complementos) {
      std::vector<RegDadosComplemento> dados(quantas);
      Verifica(
          servico->LeEspecialChavesComplemento(static_cast<int32_t>(quantas), chaves, dados.data()),
          "LeEspecialChavesComplemento");
      for (size_t i = 0; i < quantas; ++i) {
        lido.posicao = chaves[i].Indlan;
        lido.dados = dados[i].RegLan;
        lido.complemento = SemFimDeLinha(FieldText(dados[i].cComplemento));
        visita(lido);
      }
    } else {
      std::vector<RegDados> dados(quantas);
      Verifica(servico->LeEspecialChaves(static_cast<int32_t>(quantas), chaves, dados.data()),
               "LeEspecialChaves");
      for (size_t i = 0; i < quantas; ++i) {
        lido.posicao = chaves[i].Indlan;
        lido.dados = dados[i];
        visita(lido);
      }
    }
  }
}

// Positions, or search keys of one month (offset 0), as keyed reading takes them.
std::vector<Lancamentos> Posicoes(const std::vector<int32_t>& chaves) {
  std::vector<Lancamentos> posicoes(chaves.size());
  for (size_t i = 0; i < chaves.size(); ++i) posicoes[i].Indlan = chaves[i] & 0xFFFFFF;
  return posicoes;
}

// Calls f(month, first day, last day) for each month from `de` to `ate`,
// its days cut to the range.
template <class F>
void PorMes(CQXData de, CQXData ate, F f) {
  if (ate.Value() < de.Value()) return;
  const uint32_t ultimo = ate.MesAno().Value();
  for (uint32_t m = de.MesAno().Value(); m != 0 && m <= ultimo; ++m) {
    const CQXMesAno mes(m);
    const CQXData inicio = CQXData::FromMesAno(mes, 1);
    const CQXData fim = inicio.LastDayOfMonth();
    f(mes, std::max(de, inicio), std::min(ate, fim));
  }
}

}  // namespace

MesAberto::MesAberto(SessaoLancamento& servico, CQXMesAno mes) : servico_(servico) {
  Verifica(servico->AbreEspecial(static_cast<uint16_t>(mes.Value())), "AbreEspecial");
}

MesAberto::~MesAberto() { servico_->FechaEspecial(); }

void LeDoMes(SessaoLancamento& servico, CQXMesAno mes, const std::vector<int32_t>& posicoes,
             bool complementos, const Visita& visita) {
  LeDoMes(servico, mes, Posicoes(posicoes), complementos, visita);
}

std::vector<int32_t> ChavesDaBusca(SessaoLancamento& servico, int32_t quantidade) {
  std::vector<Lancamentos> lista(static_cast<size_t>(std::max(quantidade, 0)));
  if (quantidade > 0) {
    Verifica(servico->BuscaLancamentos(quantidade, lista.data()), "BuscaLancamentos");
  }
  std::vector<int32_t> chaves;
  for (const Lancamentos& l : lista) chaves.push_back(l.Indlan);
  return chaves;
}

std::vector<LancamentoLido> LeChaves(SessaoLancamento& servico, CQXMesAno base,
                                     const std::vector<int32_t>& chaves, bool complementos) {
  // Positions grouped by month, in key order inside each month.
  std::map<uint32_t, std::vector<Lancamentos>> porMes;
  for (const int32_t chave : chaves) {
    const int8_t deslocamento = static_cast<int8_t>(static_cast<uint32_t>(chave) >> 24);
    Lancamentos posicao{};
    posicao.Indlan = chave & 0xFFFFFF;
    porMes[base.Value() + deslocamento].push_back(posicao);
  }
  std::vector<LancamentoLido> lidos;
  for (auto& [mes, posicoes] : porMes) {
    LeDoMes(servico, CQXMesAno(mes), std::move(posicoes), complementos,
            [&](const LancamentoLido& lido) { lidos.push_back(lido); });
  }
  return lidos;
}

void PercorreLancamentos(SessaoLancamento& servico, CQXData de, CQXData ate, const Selecao& selecao,
                         bool complementos, const Visita& visita) {
  Verifica(servico->LimpaFiltro(), "LimpaFiltro");
  if (selecao.filial != 0) {
    REG_FILTRO_LAN filtro{};
    filtro.iFilial = selecao.filial;
    Verifica(servico->SetFiltroOrigem(filtro), "SetFiltroOrigem");
  }
  if (selecao.contaGerencial != 0) {
    Verifica(servico->SetContaGerencial(selecao.contaGerencial), "SetContaGerencial");
  }
  PorMes(de, ate, [&](CQXMesAno mes, CQXData inicio, CQXData fim) {
    int32_t quantidade = 0;
    Verifica(servico->BuscaQtdLancamentos(inicio.Value(), fim.Value(), &quantidade),
             "BuscaQtdLancamentos");
    LeDoMes(servico, mes, ChavesDaBusca(servico, quantidade), complementos, visita);
  });
  Verifica(servico->LimpaFiltro(), "LimpaFiltro");
}

void PercorreConta(SessaoLancamento& servico, int32_t conta, CQXData de, CQXData ate,
                   uint16_t filial, bool complementos, const Visita& visita) {
  PorMes(de, ate, [&](CQXMesAno mes, CQXData inicio, CQXData fim) {
    const REGLAN_CONTAPS pedido{conta, inicio.Value(), fim.Value(), filial};
    int32_t quantidade = 0;
    Verifica(servico->BuscaQtdLancamentosConta(pedido, &quantidade), "BuscaQtdLancamentosConta");
    LeDoMes(servico, mes, ChavesDaBusca(servico, quantidade), complementos, visita);
  });
}

LancamentoLido LeUm(SessaoLancamento& servico, CQXMesAno mes, int32_t posicao) {
  LancamentoLido lido;
  lido.mes = mes;
  lido.posicao = posicao;
  const uint16_t mesAno = static_cast<uint16_t>(mes.Value());
  RegDadosComplemento dados{};
  const HRESULT hr = servico->LeDadosComplemento(posicao, mesAno, &dados);
  if (hr == kHrLancamentoExcluido) {
    lido.excluido = true;
    const HRESULT excluido = servico->LeLancamentoExcluido(posicao, mesAno, &lido.dados);
    if (excluido != HrMensagem(kMensagemLancamentoExcluido)) {
      Verifica(excluido, "LeLancamentoExcluido");
    }
    return lido;
  }
  Verifica(hr, "LeDadosComplemento");
  lido.dados = dados.RegLan;
  lido.complemento = SemFimDeLinha(FieldText(dados.cComplemento));
  return lido;
}

std::string Complemento(SessaoLancamento& servico, CQXMesAno mes, int32_t posicao) {
  BSTR texto = nullptr;
  Verifica(servico->GetComplemento(&texto, static_cast<uint16_t>(mes.Value()), posicao),
           "GetComplemento");
  UniqueBstr dono(texto);
  return BstrToCp1252(texto);
}

}  // namespace qx
