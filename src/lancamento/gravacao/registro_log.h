// The image of an entry record that the entry service sends to the change
// log.
#pragma once

#include "outside/change_log/reg_lan_atual.h"
#include "storage/records/entry_records.h"
#include "values/qx_data.h"

namespace qx {

inline RegLanAtual ImagemLog(const EntryRecord& registro, CQXData data) {
  RegLanAtual imagem{};
  imagem.Documento = registro.Documento;
  imagem.Complemento = registro.Complemento;
  imagem.Gerencial = registro.Gerencial;
  imagem.Data = data.Value();
  imagem.lChaveModulo = registro.lChaveModulo;
  imagem.iData = registro.iData;
  // The amount sits unaligned in both packed records: copy its value, never
  // through a CURRENCY reference.
  imagem.Valor.int64 = registro.Valor.int64;
  imagem.Debito = registro.Debito;
  imagem.Credito = registro.Credito;
  imagem.Secao = static_cast<uint16_t>(static_cast<uint32_t>(registro.Secao) & 0xFFFFu);
  imagem.CodHis = registro.CodHis;
  imagem.Filial = registro.Filial;
  imagem.cStatus = registro.cStatus;
  return imagem;
}

}  // namespace qx
