#include "lancamento/meses/arquivos_leitura.h"

#include "lancamento/leitura/leitura_complemento.h"
#include "lancamento/meses/arquivo_mes.h"
#include "storage/records/entry_records.h"

namespace qx {

void ArquivosLeitura::Mes(uint16_t mesAno) {
  if (mesAno == mesAno_) return;
  lancamentos_.Fecha();
  moeda_.Fecha();
  complementos_.Fecha();
  mesAno_ = mesAno;
}

int ArquivosLeitura::Lancamentos(uint16_t mesAno, CQXarq** arq) {
  Mes(mesAno);
  *arq = &lancamentos_;
  if (lancamentos_.IsOpen()) return ARQ_OK;
  return AbreArquivoMes(lancamentos_, pasta_, kPrefixoLancamentos, mesAno, 'L', kEntryRecordSize);
}

int ArquivosLeitura::Moeda(uint16_t mesAno, CQXarq** arq) {
  Mes(mesAno);
  *arq = &moeda_;
  if (moeda_.IsOpen()) return ARQ_OK;
  return AbreArquivoMes(moeda_, pasta_, kPrefixoMoeda, mesAno, 'L', kCurrencyRecordSize);
}

int ArquivosLeitura::Complementos(uint16_t mesAno, CQXarq** arq) {
  Mes(mesAno);
  *arq = &complementos_;
  if (complementos_.IsOpen()) return ARQ_OK;
  return AbreComplementos(pasta_, CQXMesAno(mesAno), &complementos_);
}

}  // namespace qx
