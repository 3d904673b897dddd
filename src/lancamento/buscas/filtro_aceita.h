// The acceptance test that the entry searches apply to every entry record,
// prepared once per search from the object's filter.
//
// Use:
//   qx::AceitacaoFiltro aceitacao(m_consulta.filtro, dataInicial, dataFinal,
//                                 filiaisAtivas, sessoes);
//   for each month m of the search:
//     open its CNLC; when aceitacao.PrecisaComplementos(), its CNLH with
//     record size qx::kTamanhoLeituraComplemento; when
//     aceitacao.PrecisaGerencial(), its CNLG with 20-byte records;
//     aceitacao.IniciaMes(m, &cnlh or nullptr, &cnlg or nullptr);
//     for each record r at position p:
//       bool aceito;
//       if (int status = aceitacao.Aceita(r, p, &aceito)) end the search with status;
//       if (aceito) append ((m - base month) << 24) + p.
//
// The date bounds given are the search's own; the filter's DataInicial and
// DataFinal replace them when set. The active branches and the session table
// (the session numbers of the filter's user, read only when iUsuario is set;
// an empty table then admits nothing) are read, not copied, and must outlive
// the object. Aceita allocates nothing and reads the month's CNLH only when a
// complement filter is set, its CNLG only when ContaGerencial is above 0.
// The filter is copied: later changes to it do not reach a prepared test.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "lancamento/buscas/filtro_complemento.h"
#include "lancamento/buscas/filtro_lancamento.h"
#include "lancamento/buscas/filtro_origem.h"
#include "outside/database/dados_df.h"
#include "storage/qx_arq.h"
#include "storage/records/entry_records.h"

namespace qx {

class AceitacaoFiltro {
 public:
  AceitacaoFiltro(const FiltroLancamento& filtro, uint32_t dataInicial, uint32_t dataFinal,
                  const CQXDadosDF_FiliaisAtivas& filiais, std::span<const int32_t> sessoes);

  // The files a month needs open besides its CNLC.
  bool PrecisaComplementos() const { return !m_complemento.Vazio(); }
  bool PrecisaGerencial() const { return m_filtro.ContaGerencial > 0; }

  // The month (CQXMesAno value) of the records that follow, with its open
  // CNLH and CNLG where the filter needs them (null otherwise). A file that
  // is needed but missing rejects every record.
  void IniciaMes(uint16_t mesAno, CQXarq* complementos, CQXarq* gerencial);

  // Tests the record at `posicao` of the month: 0 with the answer in
  // *aceito, or the status of a failed complement read, which ends the
  // search.
  int Aceita(const EntryRecord& registro, int32_t posicao, bool* aceito);

  // The lower and upper date bounds the test applies.
  uint32_t DataInicial() const { return m_dataInicial; }
  uint32_t DataFinal() const { return m_dataFinal; }

 private:
  bool AceitaCampos(const EntryRecord& registro, int32_t posicao);
  bool FilialAtiva(uint16_t filial);
  bool UsaContaGerencial(const EntryRecord& registro);

  FiltroLancamento m_filtro;
  SelecaoOrigem m_origem;
  ComplementoFiltro m_complemento;
  const CQXDadosDF_FiliaisAtivas& m_filiais;
  std::vector<int32_t> m_sessoes;  // sorted
  uint32_t m_dataInicial;
  uint32_t m_dataFinal;

  // The month's values.
  bool m_mesAdmitido = false;
  uint32_t m_primeiroDia = 0;  // day number of the month's first day, 0 for no month
  int m_diasNoMes = 0;
  int32_t m_posicaoMinima = 0;
  int32_t m_posicaoMaxima = 0;
  CQXarq* m_complementos = nullptr;
  CQXarq* m_gerencial = nullptr;

  // What the active branches said of each branch asked for: 0 not asked
  // yet, 1 active, 2 not active.
  std::vector<uint8_t> m_estadoFilial = std::vector<uint8_t>(size_t{1} << 16);
};

}  // namespace qx
