#include "reports/leitura.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <vector>

#include "contract/chave_busca.h"
#include "contract/entry_messages.h"
#include "contract/profiler_identity.h"
#include "platform/bstr.h"
#include "platform/codepage.h"
#include "reports/falha.h"
#include "reports/leitura_mes.h"

namespace qx {
namespace {

// In pages well under the frame limit: an entry with its complement is about
// 560 bytes through keyed reading and 110 through the batch interface, a key
// 8 (both ways).
constexpr size_t kChavesPorPagina = 4096;
constexpr size_t kChavesDaBuscaPorPagina = 65536;

// The live entries behind the keys into lidos[k] for the k-th key, read in
// pages of the batch interface; *faltam gets the indexes left for keyed
// reading (deleted, of an inactive branch, or gone).
void LePelaPagina(SessaoLancamento& servico, CQXMesAno base, const std::vector<int32_t>& chaves,
                  LancamentoLido* lidos, std::vector<size_t>* faltam) {
  std::vector<int32_t> pedidas;
  std::vector<LancamentoDoMes> pagina;
  for (size_t i = 0; i < chaves.size(); i += kLancamentosPorPagina) {
    const size_t fim = std::min(chaves.size(), i + size_t{kLancamentosPorPagina});
    pedidas.assign(chaves.begin() + static_cast<ptrdiff_t>(i),
                   chaves.begin() + static_cast<ptrdiff_t>(fim));
    LancamentosDasChaves(servico, base, pedidas, &pagina);
    // The page holds the keys asked for in their order, less those left
    // out: one pass matches them.
    auto l = pagina.begin();
    for (size_t k = i; k < fim; ++k) {
      if (l == pagina.end() || l->posicao != chaves[k]) {
        faltam->push_back(k);
        continue;
      }
      if (l->Excluido()) {
        faltam->push_back(k);
      } else {
        LancamentoLido& lido = lidos[k];
        lido.mes = CQXMesAno(static_cast<uint32_t>(MesDaChave(base, chaves[k])));
        lido.posicao = PosicaoDaChave(chaves[k]);
        lido.dados = l->dados;
        lido.complemento = std::move(l->complemento);
      }
      ++l;
    }
  }
}

}  // namespace

std::string SemFimDeLinha(std::string texto) {
  while (!texto.empty() && (texto.back() == '\r' || texto.back() == '\n')) texto.pop_back();
  return texto;
}

std::vector<int32_t> ChavesDaBusca(SessaoLancamento& servico, int32_t quantidade) {
  std::vector<Lancamentos> lista(static_cast<size_t>(std::max(quantidade, 0)));
  for (size_t inicio = 0; inicio < lista.size(); inicio += kChavesDaBuscaPorPagina) {
    const size_t quantas = std::min(kChavesDaBuscaPorPagina, lista.size() - inicio);
    int32_t total = 0;
    Verifica(
        servico.Lote()->LeChavesBusca(static_cast<int32_t>(inicio), static_cast<int32_t>(quantas),
                                      lista.data() + inicio, &total),
        "LeChavesBusca");
  }
  // The service's list goes, as BuscaLancamentos takes it.
  Verifica(servico->BuscaLancamentos(0, nullptr), "BuscaLancamentos");
  std::vector<int32_t> chaves;
  chaves.reserve(lista.size());
  for (const Lancamentos& l : lista) chaves.push_back(l.Indlan);
  return chaves;
}

std::vector<LancamentoLido> LeChaves(SessaoLancamento& servico, CQXMesAno base,
                                     const std::vector<int32_t>& chaves) {
  std::vector<LancamentoLido> lidos(chaves.size());
  std::vector<size_t> faltam;
  LePelaPagina(servico, base, chaves, lidos.data(), &faltam);
  // The rest by month, in key order inside each month.
  std::map<uint32_t, std::vector<size_t>> porMes;
  for (const size_t k : faltam)
    porMes[static_cast<uint32_t>(MesDaChave(base, chaves[k]))].push_back(k);
  for (const auto& [mes, doMes] : porMes) {
    Verifica(servico->AbreEspecial(static_cast<uint16_t>(mes)), "AbreEspecial");
    for (size_t inicio = 0; inicio < doMes.size(); inicio += kChavesPorPagina) {
      const size_t quantas = std::min(kChavesPorPagina, doMes.size() - inicio);
      std::vector<Lancamentos> posicoes(quantas);
      for (size_t i = 0; i < quantas; ++i) {
        posicoes[i].Indlan = PosicaoDaChave(chaves[doMes[inicio + i]]);
      }
      std::vector<RegDadosComplemento> dados(quantas);
      const HRESULT hr = servico->LeEspecialChavesComplemento(static_cast<int32_t>(quantas),
                                                              posicoes.data(), dados.data());
      if (FAILED(hr)) servico->FechaEspecial();
      Verifica(hr, "LeEspecialChavesComplemento");
      for (size_t i = 0; i < quantas; ++i) {
        LancamentoLido& lido = lidos[doMes[inicio + i]];
        lido.mes = CQXMesAno(mes);
        lido.posicao = posicoes[i].Indlan;
        lido.dados = dados[i].RegLan;
        lido.complemento = SemFimDeLinha(FieldText(dados[i].cComplemento));
      }
    }
    servico->FechaEspecial();
  }
  return lidos;
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

RegistrosRateio RateioDoLido(SessaoLancamento& servico) {
  RegistrosRateio rateio;
  uint16_t quantidade = 0;
  Verifica(servico->LeGerencial(&quantidade), "LeGerencial");
  rateio.linhas.resize(quantidade);
  rateio.quantidades.resize(quantidade);
  Verifica(servico->GetLancamentoGerencial(quantidade, rateio.linhas.data()),
           "GetLancamentoGerencial");
  const HRESULT hr = servico->GetQuantidadeGerencial(quantidade, rateio.quantidades.data());
  if (FAILED(hr)) rateio.quantidades.clear();
  return rateio;
}

std::vector<Reg_Dif> LeDiferencas(SessaoLancamento& servico) {
  int32_t quantidade = 0;
  Verifica(servico->GetQuantidadeDiferenca(&quantidade), "GetQuantidadeDiferenca");
  std::vector<Reg_Dif> lista(static_cast<size_t>(std::max(quantidade, 0)));
  if (quantidade > 0) Verifica(servico->GetDiferenca(quantidade, lista.data()), "GetDiferenca");
  return lista;
}

int32_t PosicaoDaNota(SessaoLancamento& servico, CQXMesAno mes, int32_t chave) {
  int32_t posicao = 0;
  Verifica(servico->ExisteNotaExplicativa(static_cast<uint16_t>(mes.Value()), chave, &posicao),
           "ExisteNotaExplicativa");
  return posicao;
}

std::string TextoDaNota(SessaoLancamento& servico, int32_t posicao) {
  BSTR texto = nullptr;
  Verifica(servico->LeNotaExplicativa(posicao, &texto), "LeNotaExplicativa");
  UniqueBstr dono(texto);
  return BstrToCp1252(texto);
}

}  // namespace qx
