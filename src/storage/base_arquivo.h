// Base of the record-file classes: the platform file plus the rule that says
// where a record may be written.
#pragma once

#include <cstdint>

#include "platform/com_types.h"
#include "platform/file.h"

class CBaseArquivo : public CFile {
 public:
  CBaseArquivo() = default;
  ~CBaseArquivo() override = default;

  // Header-less files are byte-addressed (positions are byte offsets) and get no
  // zero header record when created empty.
  void SetArquivoSemCabecalho(bool semCabecalho) { m_bSemCabecalho = semCabecalho; }
  bool GetArquivoSemCabecalho() const { return m_bSemCabecalho; }

  // Whether a record may be written at `posicao` (0 = append): S_OK, or
  // E_QXARQ_POSICAO_NEGATIVA / E_QXARQ_POSICAO_ALEM_DO_FIM (logged), or the status
  // of a file failure in the low word of an interface-facility failure. On an
  // empty file, position 1 first writes a zeroed header record.
  HRESULT ValidaPosicaoGravacao(int64_t posicao, int64_t tamanhoRegistro);

 protected:
  bool m_bSemCabecalho = false;
};
