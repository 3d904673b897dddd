#include "lancamento/gerencial/cadeia_gerencial.h"

#include "storage/records/entry_records.h"

namespace qx {

int LeCadeiaGerencial(CQXarq& gerencial, uint32_t primeira, std::vector<uint32_t>* posicoes) {
  posicoes->clear();
  REGLAN_GER linha;
  if (int status = gerencial.Le(primeira, &linha)) return status;
  const uint32_t dono = linha.Indlan & kSplitOwnerMask;
  for (uint32_t p = primeira;; ++p) {
    posicoes->push_back(p);
    const int status = gerencial.Le(p + 1, &linha);
    if (status == ARQ_FIM_DE_ARQUIVO) return ARQ_OK;
    if (status != ARQ_OK) return status;
    if ((linha.Indlan & kSplitOwnerMask) != dono) return ARQ_OK;
  }
}

int ZeraLinhasGerenciais(CQXarq& gerencial, const std::vector<uint32_t>& posicoes) {
  const REGLAN_GER zero{};
  for (uint32_t p : posicoes) {
    if (int status = gerencial.Grava(&zero, &p, kSplitRecordSize)) return status;
  }
  return ARQ_OK;
}

}  // namespace qx
