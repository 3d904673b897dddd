#include "reports/importacao/lote.h"

#include <algorithm>
#include <functional>
#include <memory>

#include "contract/chave_busca.h"
#include "outside/database/company_database.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/task_memory.h"
#include "reports/leitura.h"

namespace qx {
namespace {

// `pedido` on the company's suite database; a failure says what it was doing.
HRESULT NoBanco(const std::string& empresa, const std::string& fazendo,
                const std::function<HRESULT(SuiteDatabase&)>& pedido) {
  std::shared_ptr<SuiteDatabase> db;
  std::string mensagem;
  HRESULT hr = OpenCompanyDatabase(empresa, &db, &mensagem);
  if (SUCCEEDED(hr)) {
    hr = pedido(*db);
    mensagem = db->message();
  }
  if (FAILED(hr)) {
    throw FalhaLocal{"não consigo " + fazendo + ": " + Cp1252ToUtf8(mensagem) + " (" +
                     DescreveFalha(hr) + ")"};
  }
  return hr;
}

// Reserves the batch: false when another import had it first.
bool Reserva(const std::string& empresa, uint32_t lote) {
  return NoBanco(empresa, "reservar o lote " + std::to_string(lote),
                 [&](SuiteDatabase& db) { return ReservaLoteImportacao(db, lote); }) == S_OK;
}

}  // namespace

std::vector<const LinhaImportada*> LinhasDoLote(std::vector<LinhaLida>& lidas, uint32_t lote) {
  const auto mesOrigem = static_cast<uint16_t>(CQXMesAno::Current().Value());
  std::vector<const LinhaImportada*> linhas;
  for (LinhaLida& l : lidas) {
    l.linha.dados.wChaveOrigem.lChaveModulo = static_cast<int32_t>(lote << 8 | kModuloImportacao);
    l.linha.dados.wChaveOrigem.iData = mesOrigem;
    linhas.push_back(&l.linha);
  }
  return linhas;
}

int32_t ContaLote(SessaoLancamento& servico, uint32_t lote, CQXData de, CQXData ate) {
  Verifica(servico->LimpaFiltro(), "LimpaFiltro");
  REG_FILTRO_LAN filtro{};
  filtro.bImportacao = 1;
  filtro.lChaveOrigem = static_cast<int32_t>(lote);
  Verifica(servico->SetFiltroOrigem(filtro), "SetFiltroOrigem");
  int32_t quantidade = 0;
  Verifica(servico->BuscaQtdLancamentos(de.Value(), ate.Value(), &quantidade),
           "BuscaQtdLancamentos");
  return quantidade;
}

std::vector<int32_t> BuscaLote(SessaoLancamento& servico, uint32_t lote, CQXData de, CQXData ate) {
  std::vector<int32_t> chaves = ChavesDaBusca(servico, ContaLote(servico, lote, de, ate));
  Verifica(servico->LimpaFiltro(), "LimpaFiltro");
  return chaves;
}

std::map<uint16_t, int64_t> PorMes(CQXMesAno base, const std::vector<int32_t>& chaves) {
  std::map<uint16_t, int64_t> meses;
  for (const int32_t chave : chaves) ++meses[static_cast<uint16_t>(MesDaChave(base, chave))];
  return meses;
}

uint32_t ExcluiChaves(SessaoLancamento& servico, CQXMesAno base, const std::vector<int32_t>& chaves,
                      std::vector<ExclusaoRecusada>* recusadas) {
  std::map<uint16_t, std::vector<int32_t>> porMes;
  for (const int32_t chave : chaves)
    porMes[static_cast<uint16_t>(MesDaChave(base, chave))].push_back(PosicaoDaChave(chave));
  std::vector<CNLAN_EXCLUSAO_MES_IMP_PS> meses;
  for (auto& [mes, posicoes] : porMes) {
    std::sort(posicoes.begin(), posicoes.end());
    CNLAN_EXCLUSAO_MES_IMP_PS m{};
    m.nQtdDocs = static_cast<uint32_t>(posicoes.size());
    m.iMesAno = mes;
    m.pDocsLan = posicoes.data();
    meses.push_back(m);
  }
  CNLAN_EXCLUSAO_IMP_PS pedido{};
  pedido.nQtdMeses = static_cast<uint32_t>(meses.size());
  pedido.pMeses = meses.data();
  CNLAN_RESULTADO_EXCLUSAO_IMP_PS resultado{};
  const HRESULT hr = servico->ExclusaoImportacao(pedido, &resultado);
  for (uint32_t i = 0; i < resultado.nQtdErros && resultado.pErros != nullptr; ++i) {
    const CNLAN_ERRO_EXCLUCAO_IMP_PS& e = resultado.pErros[i];
    recusadas->push_back({e.iMesAno, e.lIndLan, e.eErro == CNLAN_EEI_NAO_FOI_IMPORTADO});
  }
  CoTaskMemFree(resultado.pErros);
  Verifica(hr, "ExclusaoImportacao");
  return resultado.nQtdExcluidos;
}

std::optional<LoteImportado> LoteRepetido(SessaoLancamento& servico, const std::string& digesto,
                                          CQXData de, CQXData ate) {
  std::vector<LoteImportado> lotes;
  NoBanco(servico.identidade().empresa, "ler os lotes importados",
          [&](SuiteDatabase& db) { return LotesDoDigesto(db, digesto, &lotes); });
  for (const LoteImportado& anterior : lotes) {
    if (!BuscaLote(servico, anterior.lote, de, ate).empty()) return anterior;  // not undone since
  }
  return std::nullopt;
}

LotePedido ReservaLotePedido(SessaoLancamento& servico, uint32_t lote, CQXData de, CQXData ate) {
  if (!Reserva(servico.identidade().empresa, lote)) return LotePedido::kDeOutraImportacao;
  if (!BuscaLote(servico, lote, de, ate).empty()) return LotePedido::kComLancamentos;
  return LotePedido::kReservado;
}

uint32_t ReservaLoteNovo(SessaoLancamento& servico, CQXData de, CQXData ate) {
  const SYSTEMTIME agora = CurrentDateTime();
  const CQXData hoje = CQXData::Make(agora.wDay, agora.wMonth, agora.wYear);
  uint32_t lote = (hoje.Value() * 1440u + agora.wHour * 60u + agora.wMinute) & kMaiorLoteImportacao;
  for (uint32_t tentativas = 0; tentativas <= kMaiorLoteImportacao; ++tentativas) {
    lote = lote % kMaiorLoteImportacao + 1;
    if (Reserva(servico.identidade().empresa, lote) && BuscaLote(servico, lote, de, ate).empty()) {
      return lote;
    }
  }
  throw FalhaLocal{"todos os números de lote estão reservados"};
}

void RegistraLinhas(SessaoLancamento& servico, uint32_t lote, const std::string& digesto,
                    size_t linhas) {
  NoBanco(servico.identidade().empresa, "registrar as linhas do lote", [&](SuiteDatabase& db) {
    return RegistraLinhasLote(db, lote, digesto, static_cast<int64_t>(linhas));
  });
}

Desfeito DesfazLote(SessaoLancamento& servico, uint32_t lote, CQXData de, CQXData ate) {
  Desfeito desfeito;
  std::unique_ptr<SessaoLancamento> novo;
  for (SessaoLancamento* atual = &servico; atual != nullptr;) {
    try {
      const std::vector<int32_t> chaves = BuscaLote(*atual, lote, de, ate);
      desfeito.restantes = chaves.size();
      std::vector<ExclusaoRecusada> recusadas;
      if (!chaves.empty()) ExcluiChaves(*atual, de.MesAno(), chaves, &recusadas);
      desfeito.restantes = BuscaLote(*atual, lote, de, ate).size();
      desfeito.completo = *desfeito.restantes == 0;
      if (!desfeito.completo) desfeito.falha = FalhaServico{E_FAIL, "ExclusaoImportacao"};
      return desfeito;
    } catch (const FalhaServico& falha) {
      desfeito.falha = falha;
    }
    if (novo) break;
    try {
      novo = std::make_unique<SessaoLancamento>(servico.identidade());
      atual = novo.get();
    } catch (const FalhaServico& falha) {
      desfeito.falha = falha;
      atual = nullptr;
    }
  }
  // Counted by whichever object still answers.
  for (SessaoLancamento* atual : {novo.get(), &servico}) {
    if (atual == nullptr) continue;
    try {
      desfeito.restantes = BuscaLote(*atual, lote, de, ate).size();
      break;
    } catch (const FalhaServico&) {
    }
  }
  return desfeito;
}

}  // namespace qx
