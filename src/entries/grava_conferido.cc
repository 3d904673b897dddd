// The checked mark of a stored entry, set in place: no mark, no change log.
#include "entries/arquivo_mes.h"
#include "entries/entry_messages.h"
#include "entries/lancamento_base.h"

HRESULT CLancamentoBase::GravaConferido(uint16_t MesAno, int32_t Indlan, unsigned char cConferido) {
  // Position 0 is the file's zero record, not an entry.
  if (Indlan <= 0) return qx::HrMensagem(qx::kMensagemLancamentoInexistente);
  // Without the company's folder the month file would land in the current one.
  if (m_strPastaEmpresa.empty()) return ARQ_CAMINHO_INVALIDO;
  CQXarq arq;
  if (int status = qx::AbreArquivoMes(arq, m_strPastaEmpresa, qx::kPrefixoLancamentos, MesAno, 'G',
                                      qx::kEntryRecordSize)) {
    return status;
  }
  qx::EntryRecord registro;
  uint32_t posicao = static_cast<uint32_t>(Indlan);
  int status = arq.Le(posicao, &registro);
  if (status == ARQ_OK) {
    registro.cConferido = cConferido;
    status = arq.Grava(&registro, &posicao, qx::kEntryRecordSize);
  }
  const int fechamento = arq.Fecha();
  return status != ARQ_OK ? status : fechamento;
}
