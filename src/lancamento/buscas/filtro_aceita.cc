#include "lancamento/buscas/filtro_aceita.h"

#include <algorithm>
#include <limits>

#include "storage/arq_status.h"
#include "values/calendar.h"
#include "values/qx_dmcps.h"
#include "values/qx_mes_ano.h"

namespace qx {

AceitacaoFiltro::AceitacaoFiltro(const FiltroLancamento& filtro, uint32_t dataInicial,
                                 uint32_t dataFinal, const CQXDadosDF_FiliaisAtivas& filiais,
                                 std::span<const int32_t> sessoes)
    : m_filtro(filtro),
      m_origem(filtro.Origem),
      m_complemento(filtro.Complemento),
      m_filiais(filiais),
      m_dataInicial(filtro.DataInicial != 0 ? filtro.DataInicial : dataInicial),
      m_dataFinal(filtro.DataFinal != 0 ? filtro.DataFinal : dataFinal) {
  if (filtro.iUsuario != 0) {
    m_sessoes.assign(sessoes.begin(), sessoes.end());
    std::sort(m_sessoes.begin(), m_sessoes.end());
  }
}

void AceitacaoFiltro::IniciaMes(uint16_t mesAno, CQXarq* complementos, CQXarq* gerencial) {
  m_complementos = complementos;
  m_gerencial = gerencial;
  m_mesAdmitido = (m_filtro.MesInicial == 0 || mesAno >= m_filtro.MesInicial) &&
                  (m_filtro.MesFinal == 0 || mesAno <= m_filtro.MesFinal);
  // Position bounds cut only the first and the last month of the range.
  m_posicaoMinima =
      m_filtro.ChaveInicial != 0 && m_filtro.MesInicial != 0 && mesAno == m_filtro.MesInicial
          ? m_filtro.ChaveInicial
          : std::numeric_limits<int32_t>::min();
  m_posicaoMaxima =
      m_filtro.ChaveFinal != 0 && m_filtro.MesFinal != 0 && mesAno == m_filtro.MesFinal
          ? m_filtro.ChaveFinal
          : std::numeric_limits<int32_t>::max();
  // A month of 34441 or more counts as 0: its entries have no date.
  const CivilDate mes = CQXMesAno(mesAno).Split();
  m_primeiroDia = mes.month != 0 ? DayNumber(1, mes.month, mes.year) : 0;
  m_diasNoMes = mes.month != 0 ? DaysInMonth(mes.month, mes.year) : 0;
}

bool AceitacaoFiltro::FilialAtiva(uint16_t filial) {
  uint8_t& estado = m_estadoFilial[filial];
  if (estado == 0) estado = m_filiais.EhFilialAtiva(filial) != 0 ? 1 : 2;
  return estado == 1;
}

bool AceitacaoFiltro::AceitaCampos(const EntryRecord& r, int32_t posicao) {
  const FiltroLancamento& f = m_filtro;
  if (r.cStatus == kEntryDeleted || !FilialAtiva(r.Filial)) return false;
  if (f.Origem.iFilial != 0 && f.Origem.iFilial != r.Filial) return false;

  const uint32_t data =
      r.cDia <= 0 || m_primeiroDia == 0
          ? 0
          : m_primeiroDia + static_cast<uint32_t>(std::min<int>(r.cDia, m_diasNoMes)) - 1;
  if (data < m_dataInicial || data > m_dataFinal) return false;

  if (f.DocumentoInicial != 0 &&
      (r.Documento < f.DocumentoInicial || r.Documento > f.DocumentoFinal)) {
    return false;
  }
  if ((f.ValorInicial.int64 != 0 || f.ValorFinal.int64 != 0) &&
      (r.Valor.int64 < f.ValorInicial.int64 || r.Valor.int64 > f.ValorFinal.int64)) {
    return false;
  }
  if (f.Sessao > 0 && f.Sessao != r.Secao) return false;
  if (f.Conta != 0 && r.Debito != f.Conta && r.Credito != f.Conta) return false;
  if (f.Historico != 0 && f.Historico != r.CodHis) return false;
  if (f.iUsuario != 0 && !std::binary_search(m_sessoes.begin(), m_sessoes.end(), r.Secao)) {
    return false;
  }
  if (!m_mesAdmitido || posicao < m_posicaoMinima || posicao > m_posicaoMaxima) return false;
  if (f.Origem.bIFRS != 0 && r.cStatusIFRS == 0) return false;

  if (f.Origem.lChaveOrigem > 0 && r.lChaveModulo != 0 &&
      (OriginKey(r.lChaveModulo) != static_cast<uint32_t>(f.Origem.lChaveOrigem) ||
       (f.Origem.iMesOrigem != 0 && f.Origem.iMesOrigem != r.iData))) {
    return false;
  }
  if (m_origem.Ativa() && !m_origem.Admite(r.lChaveModulo)) return false;
  // Exactly one of the two checked flags tests the mark.
  if ((f.Origem.bConferidos != 0) != (f.Origem.bNaoConferidos != 0)) {
    if ((f.Origem.bConferidos != 0) != (r.cConferido != 0)) return false;
  }
  return true;
}

bool AceitacaoFiltro::UsaContaGerencial(const EntryRecord& r) {
  if (r.Gerencial <= 0 || m_gerencial == nullptr) return false;
  auto p = static_cast<uint32_t>(r.Gerencial);
  REGLAN_GER linha;
  if (m_gerencial->Le(p, &linha) != ARQ_OK) return false;
  const uint32_t dono = linha.Indlan & kSplitOwnerMask;
  do {
    if (linha.ContaGerencial == m_filtro.ContaGerencial) return true;
  } while (m_gerencial->Le(++p, &linha) == ARQ_OK && (linha.Indlan & kSplitOwnerMask) == dono);
  return false;
}

int AceitacaoFiltro::Aceita(const EntryRecord& registro, int32_t posicao, bool* aceito) {
  *aceito = AceitaCampos(registro, posicao);
  if (*aceito && PrecisaComplementos()) {
    *aceito = false;
    if (m_complementos == nullptr) return ARQ_OK;
    if (int status = m_complemento.Contem(*m_complementos, registro.Complemento, aceito)) {
      *aceito = false;
      return status;
    }
  }
  if (*aceito && PrecisaGerencial()) *aceito = UsaContaGerencial(registro);
  return ARQ_OK;
}

}  // namespace qx
