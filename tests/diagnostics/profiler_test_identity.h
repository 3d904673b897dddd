// An identity with an initialisation record, for the profiler tests.
#pragma once

#include <cstring>

#include "contract/profiler_identity.h"

namespace qx {

class TestIdentity final : public IQXDF_Profiler {
 public:
  explicit TestIdentity(const char* empresa, unsigned short usuario = 7, uint32_t sessao = 123456)
      : empresa_(empresa), usuario_(usuario), sessao_(sessao) {
    std::strncpy(record_.szEmpresa, empresa, sizeof record_.szEmpresa - 1);
    record_.ulUsuario = usuario;
    record_.ulNumeroSessao = sessao;
    std::strcpy(record_.szNomeUsuarioDominio, "DOM\\joao");
    std::strcpy(record_.szAplicativo, "QXCONTAB");
    std::strcpy(record_.szModuleName, "CN");
    std::strcpy(record_.szArquivoFonte, "lanc.cpp");
    record_.ulLinhaFonte = 42;
    record_.cWTS = 1;
    record_.cControle = 'B';
  }
  const char* GetEmpresa() override { return empresa_; }
  unsigned short GetUsuario() override { return usuario_; }
  uint32_t GetNumeroSessao() override { return sessao_; }
  const _REG_DF_INICIALIZAPS* GetRegistroInicializacao() override { return &record_; }

  _REG_DF_INICIALIZAPS& record() { return record_; }

 private:
  const char* empresa_;
  unsigned short usuario_;
  uint32_t sessao_;
  _REG_DF_INICIALIZAPS record_{};
};

}  // namespace qx
